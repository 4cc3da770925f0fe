#pragma once
// rank's report as the player reads it, and as CSV for a spreadsheet.

#include <string>

#include "app/rank.hpp"

namespace morvane {

// A table of the standings, best first, then the pairs that go against the order.
std::string format_rank(const RankReport& report, const Ranking& ranking);

// One row per entrant, best first, in UTF-8 with a header row (RFC 4180). A name that a
// spreadsheet would take for a formula (=, +, -, @, a tab or a carriage return first) is
// written after a ' so that it stays text.
std::string format_rank_csv(const RankReport& report, const Ranking& ranking);

// "第7对", or "第7～9对" for a range of several.
std::string pair_range_text(const PairRange& range);

}  // namespace morvane
