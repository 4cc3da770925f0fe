#include "model/game.hpp"

#include <algorithm>
#include <cassert>
#include <cstddef>

namespace morvane {

void Roster::clear() {
  for (std::int32_t i = 1; i < used_; ++i)
    slots_[i] = Fighter{};
  used_ = 1;
  next_ = 1;
  watching_ = false;
  changed_.clear();
}

void Roster::copy_from(const Roster& other) {
  // Only what either roster has ever written.
  const std::int32_t top = std::max(used_, other.used_);
  for (std::int32_t i = 1; i < top; ++i)
    slots_[i] = other.slots_[i];
  next_ = other.next_;
  used_ = other.used_;
  watching_ = false;
  changed_.clear();
}

void Game::reset() {
  // Team calls are only ever made by and about fighters, so their teams cover every entry in
  // use.
  for (std::int32_t i = 1; i < roster.used(); ++i)
    team_calls[roster[i].team] = TeamCalls{};
  roster.clear();
  standing_per_team.clear();
  counted_teams = 0;
  round_count = 1;
  skill_thresholds = kSkillThresholds;
  mode = 0;
  outcome = GameOutcome{};
}

void Game::copy_state_from(const Game& other) {
  roster.copy_from(other.roster);
  team_calls = other.team_calls;
  standing_per_team = other.standing_per_team;
  counted_teams = other.counted_teams;
  round_count = other.round_count;
  skill_thresholds = other.skill_thresholds;
  mode = other.mode;
}

std::int32_t& writable_skill_threshold(Game& g, std::int32_t attribute, int k) {
  assert(has_skill_row(attribute));
  return g.skill_thresholds[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}

}  // namespace morvane
