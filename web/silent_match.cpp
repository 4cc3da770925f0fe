#include "silent_match.hpp"

#include <emscripten.h>

#include <memory>

#include "console/quiet_console.hpp"
#include "mechanics/checks.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

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
  // Nobody watches: the rules skip their narration altogether.
  auto g = std::make_unique<Game>(quiet, random);
  g->silent = true;
  const double until = emscripten_get_now() + budget_ms;
  for (std::int32_t k = 0; k < most && (k == 0 || emscripten_get_now() < until); ++k) {
    g->reset();
    random.srand(seed + static_cast<std::uint32_t>(k));
    g->n = static_cast<std::int32_t>(teams.size());
    for (std::int32_t t = 1; t <= g->n; ++t)
      add_team(*g, t, teams[static_cast<std::size_t>(t - 1)], mode);
    if (mode == 2) dark_match(*g);
    g->max_rounds = max_rounds;
    ++tally.played;
    if (!game(*g)) {
      ++tally.undecided;
      continue;
    }
    const std::int32_t t = winner(*g);
    if (t == 0) {
      ++tally.no_winner;
    } else if (t <= static_cast<std::int32_t>(tally.wins.size())) {
      ++tally.wins[static_cast<std::size_t>(t - 1)];
    }
  }
  return tally;
}

}  // namespace morvane::web
