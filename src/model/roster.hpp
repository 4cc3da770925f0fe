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

// The four values a typed name is given, drawn in this order: hp 150 ... 399, atk 50 ... 99,
// def 20 ... 49, magic 20 ... 99. Black wizards and soldiers are drawn the same way. (The elements
// of a braced list are evaluated in order, so the draws are too.)
inline Stats typed_stats(Game& g) {
  return {g.rand() % 250 + 150, g.rand() % 50 + 50, g.rand() % 30 + 20, g.rand() % 80 + 20};
}

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
