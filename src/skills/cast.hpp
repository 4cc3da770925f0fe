#pragma once
// One skill cast and the mechanisms that every skill shares.

#include <cstdint>

#include "mechanics/attack.hpp"
#include "mechanics/narrate.hpp"
#include "model/game.hpp"
#include "model/roster.hpp"
#include "model/wrap.hpp"

namespace morvane {

// Resolves skill 0 or 1 of the fighter in slot `caster` against the round driver's target:
// the ultimate roll, the banner, the skill itself, the end of the ultimate.
void cast(Game& g, std::int32_t caster, int skill, std::int32_t target);

inline constexpr const char* kHitIndent = "                 ";  // 17 spaces
inline constexpr const char* kMissLine = "但是没有命中一个人";

// What a skill works with: the caster, its target and the caster's magic as the cast began.
struct Cast {
  Game& g;
  std::int32_t caster;
  std::int32_t target;     // the target; skills that choose their own overwrite it
  std::int32_t magic = 0;  // the caster's magic when the cast began

  const Fighter& me() const { return g.roster[caster]; }
  bool casting_ultimate() const { return g.roster[caster].casting_ultimate; }
  std::int32_t ultimate_level() const { return g.roster[caster].ultimate_level; }

  // A hit of the skill goes through the basic attack, so defence, dodge, critical hits, chatter
  // and death lines apply to it as to any blow.
  void hit(std::int32_t slot, std::int32_t value) { attack(g, caster, slot, value); }
  void indent() { say(g, kHitIndent); }
  // A skill that touches several fighters writes a line for each; every line after the cast's
  // first is indented under it. `count` counts the lines so far.
  void indent_unless_first(std::int32_t& count) {
    if (count != 0) indent();
    ++count;
  }
  // One blow of such a skill, and the pause after it.
  void hit_one_of_several(std::int32_t& count, std::int32_t slot, std::int32_t value, int ms) {
    indent_unless_first(count);
    hit(slot, value);
    pause(g, ms);
  }
  void miss_line() { line(g, kMissLine); }
  bool living(std::int32_t slot) const { return g.roster[slot].hp > 0; }
  bool ally(std::int32_t slot) const { return g.roster[slot].team == g.roster[caster].team; }
  bool living_enemy(std::int32_t slot) const { return living(slot) && !ally(slot); }

  // The enemy sweep: every living enemy in slot order, next_slot read afresh at every step so that
  // a fighter summoned meanwhile is met too.
  template <class Visit>
  void sweep(Visit&& visit) {
    for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
      if (living_enemy(i)) visit(i);
    }
  }

  // Draws slots among 1 ... next_slot-1 until a living enemy comes up or `budget` draws have failed
  // in this cast (`failed` counts them over the whole cast). Returns the last slot drawn, or `last`
  // when no draw was made.
  std::int32_t draw_enemy(std::int32_t& failed, std::int32_t budget, std::int32_t& found,
                          std::int32_t last) {
    std::int32_t drawn = last;
    while (failed < budget) {
      drawn = g.rand() % (g.roster.next_slot() - 1) + 1;
      if (living_enemy(drawn)) {
        found = drawn;
        break;
      }
      ++failed;
    }
    return drawn;
  }

  // An ultimate makes what it summons stronger: each value times the caster's ultimate level
  // (already raised by this cast).
  std::int32_t scaled(std::int32_t value) const {
    return casting_ultimate() ? wmul(value, ultimate_level()) : value;
  }
  Stats scaled(const Stats& s) const {
    return {scaled(s.hp), scaled(s.atk), scaled(s.def), scaled(s.magic)};
  }

  // A summoned fighter joins the roster in slot next_slot (see Roster::add for a full roster).
  template <class Fill>
  bool summon(Fill&& fill) {
    return g.roster.add(fill);
  }
};

}  // namespace morvane
