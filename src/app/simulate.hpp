#pragma once
// Many silent team matches, for the odds of a line-up: the run and the figures of its report.
// The report as text is in simulate_report.hpp, as JSON in simulate_json.hpp; shards of one run
// add up in simulate_merge.hpp.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "modes/mode.hpp"

namespace morvane {

// Game i plays with seed + i (mod 2^32): there are 2^32 different games of a line-up, indexed
// 0 ... 2^32-1.
inline constexpr std::int64_t kSeeds = std::int64_t{1} << 32;

// A run as asked for. Its defaults are the command's: simulate --help shows them from here.
struct SimulationConfig {
  Mode mode = Mode::TeamMatch;  // the team match or the dark match
  std::int64_t first_game = 0;  // the games first_game ... first_game + games - 1 are played
  std::int64_t games = 1000;
  std::uint32_t seed = 1;
  unsigned threads = 1;
  std::int64_t max_rounds = 10000;  // a battle still undecided then is cut
  std::vector<std::string> lines;   // one line of '/'-separated names per team
};

// part / whole, or 0 of nothing.
inline double share(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

// A range of games, [first, last] by index.
using GameRange = std::pair<std::int64_t, std::int64_t>;

struct SimulationReport {
  SimulationConfig config;
  std::int64_t played = 0;         // games finished: all of them unless interrupted
  std::vector<std::int64_t> wins;  // wins[t-1] for team t
  std::int64_t no_winner = 0;      // battles that ended with nobody standing
  std::int64_t cut = 0;            // battles cut by the round cap, counted as undecided
  std::int64_t total_rounds = 0;
  std::int64_t most_rounds = 0;
  double seconds = 0;
  // Set on a report merged from shards: how many, and the ranges of games they covered.
  std::int64_t shards = 0;
  std::vector<GameRange> ranges;

  // Stopped before every game was played.
  bool interrupted() const { return played < config.games; }
  double mean_rounds() const { return share(total_rounds, played); }
  double games_per_second() const;
  // The games it covers: the ranges a merged report lists, else the run's one range.
  std::vector<GameRange> covered_ranges() const;
};

// Plays the games on config.threads threads. `progress`, if set, is called from the calling
// thread now and then with the number of games done. When `stop` becomes true the games under
// way are given up at the end of their battle's round (they count nowhere) and the rest are not
// played: the report says so. The totals do not depend on the thread count: each game is fixed
// by its seed.
SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t done)>& progress = {},
                          const std::atomic<bool>* stop = nullptr);

}  // namespace morvane
