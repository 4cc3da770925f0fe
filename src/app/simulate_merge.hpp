#pragma once
// simulate --merge: the reports of shards of one run added up.

#include <optional>
#include <string>
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

}  // namespace morvane
