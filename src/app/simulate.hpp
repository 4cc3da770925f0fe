#pragma once
// Many silent team matches, for the odds of a line-up.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morvane {

struct SimulationConfig {
  std::int32_t mode = 1;      // 1 the team match, 2 the dark match
  std::int64_t games = 1000;  // game i is played with seed + i
  std::uint32_t seed = 1;
  unsigned threads = 1;
  std::int64_t max_rounds = 10000;  // a battle still undecided then is cut
  std::vector<std::string> lines;   // one line of '/'-separated names per team
};

struct SimulationReport {
  SimulationConfig config;
  std::vector<std::int64_t> wins;  // wins[t-1] for team t
  std::int64_t no_winner = 0;      // battles that ended with nobody standing
  std::int64_t cut = 0;            // battles cut by the round cap, counted as undecided
  std::int64_t total_rounds = 0;
  std::int64_t most_rounds = 0;
  double seconds = 0;

  double mean_rounds() const;
  double games_per_second() const;
};

// A share's 95% Wilson score interval.
struct Interval {
  double low, high;
};
Interval wilson(std::int64_t successes, std::int64_t trials);

// Plays the games on config.threads threads. `progress`, if set, is called from the calling
// thread now and then with the number of games done. The totals do not depend on the thread
// count: each game is fixed by its seed.
SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t done)>& progress = {});

std::string format_report(const SimulationReport& report);
std::string format_json(const SimulationReport& report);

}  // namespace morvane
