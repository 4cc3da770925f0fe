#pragma once
// rank's report as JSON, for a program or for rank --merge; read back, and shards of one run
// added up.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/json_limits.hpp"
#include "app/rank.hpp"

namespace morvane {

// The report as JSON (UTF-8), one line: the run, each pair's results, the standings and the
// upsets. parse_rank() reads it back.
std::string format_rank_json(const RankReport& report, const Ranking& ranking);

// A rank shard holds every pair's results: larger than a simulate shard.
inline constexpr JsonBounds kRankShardBounds{16, 2'000'000};

// A report read back, or the reason it cannot be (in Chinese).
struct ParsedRank {
  std::optional<RankReport> report;
  std::string error;
};
ParsedRank parse_rank(std::string_view json);

// Shards of one run added up: the same entrants, mode, games, round cap, seed and schedule,
// ranges of pairs that do not overlap. Gaps between the ranges are allowed: the merged report
// lists its ranges.
ParsedRank merge_ranks(const std::vector<RankReport>& shards);

}  // namespace morvane
