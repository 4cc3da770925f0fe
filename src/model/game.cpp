#include "model/game.hpp"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace morvane {

void Game::reset() {
  // Team calls are only ever made by and about combatants, so their teams cover every entry of
  // b in use.
  for (std::int32_t i = 1; i < used; ++i)
    team_calls[roster[i].team] = TeamCalls{};
  for (std::int32_t i = 1; i < used; ++i)
    roster[i] = Fighter{};
  used = 1;
  for (std::int32_t t = 0; t <= top_standing_team; ++t)
    standing_per_team[t] = 0;
  top_standing_team = 0;
  next_slot = 1;
  counted_teams = 0;
  round_count = 1;
  skill_thresholds = kSkillThresholds;
  standing = {};
  watching = false;
  changed.clear();
}

void Game::copy_state_from(const Game& other) {
  // Tests fill the roster by hand, without raising `used`.
  const std::int32_t top = std::max({used, other.used, next_slot, other.next_slot});
  for (std::int32_t i = 1; i < top; ++i)
    roster[i] = other.roster[i];
  team_calls = other.team_calls;
  standing_per_team = other.standing_per_team;
  next_slot = other.next_slot;
  counted_teams = other.counted_teams;
  round_count = other.round_count;
  skill_thresholds = other.skill_thresholds;
  top_standing_team = other.top_standing_team;
  used = other.used;
  standing = other.standing;
  watching = false;
  changed.clear();
}

std::string_view skill_name(const Game& g, std::int32_t attribute, int k) {
  if (!has_skill_row(attribute)) return {};
  return g.skill_names[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}

std::int32_t& writable_skill_threshold(Game& g, std::int32_t attribute, int k) {
  assert(has_skill_row(attribute));
  return g.skill_thresholds[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}

}  // namespace morvane
