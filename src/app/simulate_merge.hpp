#pragma once
// simulate --merge: the reports of shards of one run added up.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/simulate.hpp"

namespace morvane {

// Shards of one run added up: the same lines, mode, round cap and seed, ranges of games that do
// not overlap. Gaps between the ranges are allowed: the merged report lists its ranges.
struct MergedReport {
  std::optional<SimulationReport> report;
  std::string error;
};
MergedReport merge_reports(const std::vector<SimulationReport>& shards);

// The ranges of several shards, each with the index of its shard, sorted and joined where they
// meet (games for simulate, pairs for rank). Where two overlap, `overlap` names both shards
// (counted from 1) and, through `describe`, what both hold.
using ShardRange = std::pair<std::int64_t, std::int64_t>;
struct JoinedRanges {
  std::vector<ShardRange> ranges;
  std::string overlap;  // empty when none overlap
};
JoinedRanges join_shard_ranges(std::vector<std::pair<ShardRange, std::size_t>> ranges,
                               std::string (*describe)(const ShardRange&));

}  // namespace morvane
