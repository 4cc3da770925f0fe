#include "model/game.hpp"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace morvane {

void Game::reset() {
  // Team calls are only ever made by and about combatants, so their teams cover every entry of
  // b in use.
  for (std::int32_t i = 1; i < used; ++i)
    b[roster[i].team] = TeamCalls{};
  for (std::int32_t i = 1; i < used; ++i)
    roster[i] = Fighter{};
  used = 1;
  for (std::int32_t t = 0; t <= chrs_top; ++t)
    chrs[t] = 0;
  chrs_top = 0;
  next_slot = 1;
  n = 0;
  hhs = 1;
  jncxgl = kSkillThresholds;
  standing = {};
  watching = false;
  changed.clear();
}

void Game::copy_state_from(const Game& other) {
  // Tests fill the roster by hand, without raising `used`.
  const std::int32_t top = std::max({used, other.used, next_slot, other.next_slot});
  for (std::int32_t i = 1; i < top; ++i)
    roster[i] = other.roster[i];
  b = other.b;
  chrs = other.chrs;
  next_slot = other.next_slot;
  n = other.n;
  hhs = other.hhs;
  jncxgl = other.jncxgl;
  chrs_top = other.chrs_top;
  used = other.used;
  standing = other.standing;
  watching = false;
  changed.clear();
}

std::string_view skill_name(const Game& g, std::int32_t attribute, int k) {
  if (!has_skill_row(attribute)) return {};
  return g.jnm[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}

std::int32_t& writable_skill_threshold(Game& g, std::int32_t attribute, int k) {
  assert(has_skill_row(attribute));
  return g.jncxgl[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}

}  // namespace morvane
