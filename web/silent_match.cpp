#include "silent_match.hpp"

#include <emscripten.h>

#include <memory>

#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

namespace morvane::web {

MatchTally silent_matches(std::int32_t mode, const std::vector<std::string>& lines,
                          std::uint32_t seed, std::int32_t most, std::int64_t max_rounds,
                          double budget_ms) {
  MatchTally tally;
  tally.wins.assign(lines.size(), 0);
  std::vector<std::vector<TeamMember>> teams;
  for (const std::string& line : lines)
    teams.push_back(split_team(line));
  QuietConsole quiet;
  Lcg random(seed);
  auto g = std::make_unique<Game>(quiet, random);
  const double until = emscripten_get_now() + budget_ms;
  for (std::int32_t k = 0; k < most && (k == 0 || emscripten_get_now() < until); ++k) {
    g->reset();
    random.srand(seed + static_cast<std::uint32_t>(k));
    g->options.max_rounds = max_rounds;
    const MatchOutcome match = silent_team_match(*g, teams, static_cast<Mode>(mode));
    ++tally.played;
    if (!match.decided) {
      ++tally.undecided;
    } else if (match.winner == 0) {
      ++tally.no_winner;
    } else if (match.winner <= static_cast<std::int32_t>(tally.wins.size())) {
      ++tally.wins[static_cast<std::size_t>(match.winner - 1)];
    }
  }
  return tally;
}

}  // namespace morvane::web
