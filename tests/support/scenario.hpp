#pragma once
// Builds a game for a test: a roster of fighters with the values a test needs, a recording
// console and a scripted random source.
//
//   Scenario t;
//   t.fighter("甲", 1).atk(80);
//   t.fighter("乙", 2).def(200);
//   t.draws({/*spread*/ 10, /*no call*/ 0, /*no dodge*/ 0, /*no critical*/ 0});
//   attack(t.g, 1, 2, 60);
//   EXPECT_EQ(t.transcript(), "乙防御了\n");

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>

#include "model/game.hpp"
#include "skills/cast.hpp"
#include "support/draws.hpp"
#include "support/recording_console.hpp"
#include "support/scripted_random.hpp"

namespace morvane::testing {

class Scenario {
 public:
  // A fluent handle on one roster slot.
  class SlotHandle {
   public:
    using Setter = void (Roster::*)(std::int32_t slot, std::int32_t value);

    SlotHandle(Game& g, std::int32_t slot) : g_(g), slot_(slot) {}
    const Fighter& record() const { return g_.roster[slot_]; }
    SlotHandle& set(Setter setter, std::int32_t v) {
      (g_.roster.*setter)(slot_, v);
      return *this;
    }
    SlotHandle& hp(std::int32_t v) { return set(&Roster::set_hp, v).set(&Roster::set_max_hp, v); }
    SlotHandle& hp_only(std::int32_t v) { return set(&Roster::set_hp, v); }
    SlotHandle& atk(std::int32_t v) { return set(&Roster::set_atk, v); }
    SlotHandle& def(std::int32_t v) { return set(&Roster::set_def, v); }
    SlotHandle& magic(std::int32_t v) { return set(&Roster::set_magic, v); }
    SlotHandle& attribute(std::int32_t v) { return set(&Roster::set_attribute, v); }
    SlotHandle& status(std::int32_t v) { return set(&Roster::set_status, v); }
    SlotHandle& curse_stacks(std::int32_t v) { return set(&Roster::set_curse_stacks, v); }
    SlotHandle& ultimate_level(std::int32_t v) { return set(&Roster::set_ultimate_level, v); }
    SlotHandle& dead(std::int32_t v = 0) { return hp_only(v); }
    operator std::int32_t() const { return slot_; }

   private:
    Game& g_;
    std::int32_t slot_;
  };

  explicit Scenario(std::string input = {})
      : console(std::move(input)), game_(std::make_unique<Game>(console, random)), g(*game_) {}

  // Appends a fighter with plain values: 300 hit points, 60 attack, 0 defence, 50 magic, no
  // attribute, ultimate level 1. Raises counted_teams to cover its team.
  SlotHandle fighter(std::string name, std::int32_t team) {
    g.roster.add([&](Fighter& x) {
      x = Fighter{};
      x.name = std::move(name);
      x.team = team;
      x.hp = x.max_hp = 300;
      x.atk = 60;
      x.magic = 50;
      x.curse_stacks = 1;
      x.ultimate_level = 1;
    });
    if (team > g.counted_teams) g.counted_teams = team;
    return SlotHandle(g, g.roster.next_slot() - 1);
  }
  SlotHandle at(std::int32_t slot) { return SlotHandle(g, slot); }

  void draws(std::initializer_list<std::int32_t> d) { random.script(d); }
  void draws(const Draws& d) { random.script(d.values()); }
  // Casts skill 0 or 1 of the fighter in slot `caster` at `target` with exactly the draws d (the
  // ultimate roll first) and returns what the cast wrote.
  std::string cast(const Draws& d, std::int32_t caster, int skill, std::int32_t target,
                   const Where& where = Where::here()) {
    const std::size_t from = transcript().size();
    draws(d);
    morvane::cast(g, caster, skill, target);
    random.expect_all_taken(where);
    return transcript().substr(from);
  }
  const std::string& transcript() const { return console.transcript(); }

  RecordingConsole console;
  ScriptedRandom random;

 private:
  std::unique_ptr<Game> game_;  // the roster is large: off the stack

 public:
  Game& g;  // declared after game_, which it refers to
};

}  // namespace morvane::testing
