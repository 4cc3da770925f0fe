#pragma once
// simulate's report as the player reads it.

#include <cstdint>
#include <string>

#include "app/simulate.hpp"

namespace morvane {

// A share's 95% Wilson score interval.
struct Interval {
  double low, high;
};
Interval wilson(std::int64_t successes, std::int64_t trials);

std::string format_report(const SimulationReport& report);

// "第7局", or "第7～9局" for a range of several.
std::string range_text(const GameRange& range);

// The last line of a report: a merged one's time summed over its shards, else the speed.
std::string timing_line(std::int64_t shards, double seconds, double games_per_second);

}  // namespace morvane
