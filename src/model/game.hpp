#pragma once
// One game: the roster, the team records, the counters and the skill tables, with the console
// it talks through and the random source it draws from. Nothing is global, so several games can
// run side by side.

#include <cstdint>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "model/random.hpp"
#include "model/rw.hpp"
#include "model/slots.hpp"
#include "model/tables.hpp"

namespace morvane {

// Told of every skill as it is cast, so a tool or a test can see who cast what.
class CastListener {
 public:
  virtual ~CastListener() = default;
  virtual void cast(std::int32_t ater, std::int32_t ms, int jnbh) = 0;
};

struct Game {
  Game(Console& console, Random& random) : con(console), rng(random) {}

  Slots<rw> a;               // the roster; combatants live in slots 1 ... rs-1
  std::int32_t rs = 1;       // next free roster slot
  Slots<dw> b;               // per-team focus-fire and cover calls
  std::int32_t n = 0;        // number of teams the victory check examines
  Slots<std::int32_t> chrs;  // living members per team, as the last checkwin counted them
  std::int32_t hhs = 1;      // round counter ("回合数"); 1 only in the run's first round
  std::string s;             // the line of names being read
  std::string p;             // the name being cut out of s
  const SkillNames& jnm = kSkillNames;        // skill names ("技能名")
  SkillThresholds jncxgl = kSkillThresholds;  // skill thresholds, writable ("技能出现概率")

  Console& con;
  Random& rng;
  CastListener* on_cast = nullptr;
  // Rounds the rest of the run may still play; -1 is no limit, as in a player's game. Batch
  // runs set it so that a battle no one can win still ends.
  std::int64_t round_budget = -1;

  // Highest team number whose chrs entry may be non-zero; lets checkwin clear only what it used.
  std::int32_t chrs_top = kMaxSlot;
  // One past the highest slot ever written (rs can fall back, between endless levels).
  std::int32_t used = 1;

  // Back to the state of a new game, with the same console, random source and round budget
  // cleared to no limit. Only what a game can have used is cleared.
  void reset();

  std::int32_t rand(const Where& where = Where::here()) { return rng.draw(where); }
};

// Writes the pieces of a message in order: say(g, a[x].name, "掉了", hurts, "点血");
template <class... Pieces>
void say(Game& g, const Pieces&... pieces) {
  (g.con.write(pieces), ...);
}

inline void endl(Game& g) {
  g.con.endl();
}
inline void pause(Game& g, int ms) {
  g.con.pause(ms);
}
inline void color(Game& g, int k) {
  g.con.color(k);
}

// The one door into the roster: every fighter, typed or summoned, comes in through here. A
// fighter that would go past slot 1004 is not made at all: `fill` is not called, so none of its
// draws is taken. Returns whether it was made.
template <class Fill>
bool add_fighter(Game& g, Fill&& fill) {
  if (g.rs > kMaxSlot) return false;
  fill(g.a[g.rs]);
  ++g.rs;
  if (g.rs > g.used) g.used = g.rs;
  return true;
}

// The four values a typed name is given, drawn in this order: hp 150 ... 399, atk 50 ... 99,
// def 20 ... 49, ml 20 ... 99. Black wizards and soldiers are drawn the same way.
inline void draw_base_stats(Game& g, rw& x) {
  x.hp = g.rand() % 250 + 150;
  x.atk = g.rand() % 50 + 50;
  x.def = g.rand() % 30 + 20;
  x.ml = g.rand() % 80 + 20;
}

// Skill names and thresholds of an attribute, safe for any value: an attribute without a row
// has no skill name and a threshold no draw reaches.
std::string_view skill_name(const Game& g, std::int32_t sx, int k);
std::int32_t skill_threshold(const Game& g, std::int32_t sx, int k);
bool has_skill_row(std::int32_t sx);

}  // namespace morvane
