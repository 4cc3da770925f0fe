#pragma once
// Many silent team matches, for the odds of a line-up.

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

// Game i plays with seed + i (mod 2^32): there are 2^32 different games of a line-up, indexed
// 0 ... 2^32-1.
inline constexpr std::int64_t kSeeds = std::int64_t{1} << 32;

struct SimulationConfig {
  std::int32_t mode = 1;        // 1 the team match, 2 the dark match
  std::int64_t first_game = 0;  // the games first_game ... first_game + games - 1 are played
  std::int64_t games = 1000;
  std::uint32_t seed = 1;
  unsigned threads = 1;
  std::int64_t max_rounds = 10000;  // a battle still undecided then is cut
  std::vector<std::string> lines;   // one line of '/'-separated names per team
};

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
  double mean_rounds() const;
  double games_per_second() const;
};

// A share's 95% Wilson score interval.
struct Interval {
  double low, high;
};
Interval wilson(std::int64_t successes, std::int64_t trials);

// Plays the games on config.threads threads. `progress`, if set, is called from the calling
// thread now and then with the number of games done. When `stop` becomes true the games under
// way are given up at the end of their battle's round (they count nowhere) and the rest are not
// played: the report says so. The totals do not depend on
// the thread count: each game is fixed by its seed.
SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t done)>& progress = {},
                          const std::atomic<bool>* stop = nullptr);

std::string format_report(const SimulationReport& report);
// The report as JSON (UTF-8: lines that are not are shown with U+FFFD for each bad byte), one
// line. parse_report() reads it back.
std::string format_json(const SimulationReport& report);

// Text as valid UTF-8: every byte that does not start a well-formed sequence becomes U+FFFD.
std::string valid_utf8(std::string_view text);

// A report read back from format_json's output, or the reason it cannot be (in Chinese).
struct ParsedReport {
  std::optional<SimulationReport> report;
  std::string error;
};
ParsedReport parse_report(std::string_view json);

// Shards of one run added up: the same lines, mode, round cap and seed, ranges of games that do
// not overlap. Gaps between the ranges are allowed: the merged report lists its ranges.
struct MergedReport {
  std::optional<SimulationReport> report;
  std::string error;
};
MergedReport merge_reports(const std::vector<SimulationReport>& shards);

}  // namespace morvane
