#pragma once
// How fighters come into the roster: typed, generated, challenging or summoned.

#include <cstdint>
#include <optional>
#include <string_view>

#include "model/codes.hpp"
#include "model/game.hpp"

namespace morvane {

// A fighter's four values.
struct Stats {
  std::int32_t hp = 0;
  std::int32_t atk = 0;
  std::int32_t def = 0;
  std::int32_t magic = 0;
};

// Where a fighter's four values are drawn from: rand() % span + base each, drawn in the order
// hp, atk, def, magic. (The elements of a braced list are evaluated in order, so the draws are
// too.)
struct StatRanges {
  std::int32_t hp_span, hp_base, atk_span, atk_base, def_span, def_base, magic_span, magic_base;

  Stats draw(Game& g) const {
    return {g.rand() % hp_span + hp_base, g.rand() % atk_span + atk_base,
            g.rand() % def_span + def_base, g.rand() % magic_span + magic_base};
  }
};

// A typed name's values: hp 150 ... 399, atk 50 ... 99, def 20 ... 49, magic 20 ... 99. Black
// wizards and soldiers are drawn the same way.
inline constexpr StatRanges kTypedRanges{250, 150, 50, 50, 30, 20, 80, 20};
inline Stats typed_stats(Game& g) {
  return kTypedRanges.draw(g);
}
// 富兰克林's crew, typed or called to the battle: 麦克 and 崔佛, and 富兰克林 himself.
inline constexpr StatRanges kCrewRanges{100, 400, 50, 100, 50, 60, 50, 50};

// Everything a new fighter is given. A summon leaves the curse stacks, the ultimate level and the
// ultimate under way of its slot as they were (a slot can be reused between endless levels), so
// those are set only when given.
struct Recruit {
  std::string_view name = {};
  std::int32_t team = 0;
  Stats stats = {};
  std::int32_t attribute = attribute::kNone;
  std::optional<std::int32_t> curse_stacks = std::nullopt;
  std::optional<std::int32_t> ultimate_level = std::nullopt;  // and no ultimate under way
};

// A fighter made by a mode rather than summoned by a skill: one curse stack, ultimate level 1.
inline Recruit fresh_recruit(std::string_view name, std::int32_t team, Stats stats,
                             std::int32_t attribute) {
  return {.name = name,
          .team = team,
          .stats = stats,
          .attribute = attribute,
          .curse_stacks = 1,
          .ultimate_level = 1};
}

// Fills slot x with a recruit at full hit points and with no status.
inline void enlist(Fighter& x, const Recruit& r) {
  x.name = r.name;
  x.team = r.team;
  x.hp = r.stats.hp;
  x.max_hp = r.stats.hp;
  x.atk = r.stats.atk;
  x.def = r.stats.def;
  x.magic = r.stats.magic;
  x.attribute = r.attribute;
  x.status = status::kNone;
  if (r.curse_stacks) x.curse_stacks = *r.curse_stacks;
  if (r.ultimate_level) {
    x.ultimate_level = *r.ultimate_level;
    x.casting_ultimate = false;
  }
}

}  // namespace morvane
