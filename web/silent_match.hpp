#pragma once
// Whole team matches played with nothing shown, for the page's odds before a battle: how often
// each team of the lines typed wins when the fighters are drawn anew, game after game.

#include <cstdint>
#include <string>
#include <vector>

namespace morvane::web {

struct MatchTally {
  std::vector<std::int32_t> wins;  // by team, from team 1
  std::int32_t no_winner = 0;      // nobody left standing
  std::int32_t undecided = 0;      // cut by the round cap
  std::int32_t played = 0;
};

// Plays up to `most` team matches of mode `mode` (1, or 2 for the dark match) between `lines`,
// one line of '/'-separated names per team, game k with seed `seed` + k, each battle cut after
// `max_rounds` rounds; stops early once `budget_ms` milliseconds have passed.
MatchTally silent_matches(std::int32_t mode, const std::vector<std::string>& lines,
                          std::uint32_t seed, std::int32_t most, std::int64_t max_rounds,
                          double budget_ms);

}  // namespace morvane::web
