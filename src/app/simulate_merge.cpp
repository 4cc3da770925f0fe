#include "app/simulate_merge.hpp"

#include <algorithm>
#include <limits>
#include <utility>

#include "app/simulate_report.hpp"

namespace morvane {

JoinedRanges join_shard_ranges(std::vector<std::pair<ShardRange, std::size_t>> ranges,
                               std::string (*describe)(const ShardRange&)) {
  std::sort(ranges.begin(), ranges.end());
  JoinedRanges joined;
  for (std::size_t k = 0; k < ranges.size(); ++k) {
    const auto& [r, shard] = ranges[k];
    if (k != 0 && r.first <= ranges[k - 1].first.second) {
      const std::size_t other = ranges[k - 1].second;
      const std::int64_t last = std::min(r.second, ranges[k - 1].first.second);
      joined.overlap = "第" + std::to_string(std::min(shard, other) + 1) + "个和第" +
                       std::to_string(std::max(shard, other) + 1) + "个分片都有" +
                       describe({r.first, last});
      return joined;
    }
    if (!joined.ranges.empty() && joined.ranges.back().second + 1 == r.first) {
      joined.ranges.back().second = r.second;  // ranges that meet become one
    } else {
      joined.ranges.push_back(r);
    }
  }
  return joined;
}

MergedReport merge_reports(const std::vector<SimulationReport>& shards) {
  if (shards.empty()) return {std::nullopt, "没有分片"};
  const SimulationConfig& c0 = shards.front().config;
  SimulationReport m;
  m.config = c0;
  m.config.threads = 1;
  m.wins.assign(c0.lines.size(), 0);
  std::vector<std::pair<GameRange, std::size_t>> ranges;  // and the shard each came from
  for (std::size_t k = 0; k < shards.size(); ++k) {
    const SimulationReport& s = shards[k];
    const std::string which = "第" + std::to_string(k + 1) + "个分片";
    if (s.config.lines != c0.lines) return {std::nullopt, which + "的队伍和第1个不同"};
    if (s.config.mode != c0.mode) return {std::nullopt, which + "的模式和第1个不同"};
    if (s.config.max_rounds != c0.max_rounds) {
      return {std::nullopt, which + "的回合上限（--max-rounds）和第1个不同"};
    }
    if (s.config.seed != c0.seed) return {std::nullopt, which + "的种子（--seed）和第1个不同"};
    if (s.interrupted()) return {std::nullopt, which + "是中断了的模拟"};
    if (s.wins.size() != c0.lines.size()) return {std::nullopt, which + "的队伍数不对"};
    for (std::size_t t = 0; t < s.wins.size(); ++t)
      m.wins[t] += s.wins[t];
    m.played += s.played;
    m.no_winner += s.no_winner;
    m.cut += s.cut;
    // Both are at least 0: a report's figures are checked as it is read.
    if (s.total_rounds > std::numeric_limits<std::int64_t>::max() - m.total_rounds) {
      return {std::nullopt, "总回合数太大"};
    }
    m.total_rounds += s.total_rounds;
    m.most_rounds = std::max(m.most_rounds, s.most_rounds);
    m.seconds += s.seconds;
    for (const GameRange& r : s.covered_ranges())
      ranges.push_back({r, k});
  }
  JoinedRanges joined = join_shard_ranges(std::move(ranges), range_text);
  if (!joined.overlap.empty()) return {std::nullopt, std::move(joined.overlap)};
  m.ranges = std::move(joined.ranges);
  m.config.first_game = m.ranges.front().first;
  m.config.games = m.played;
  m.shards = static_cast<std::int64_t>(shards.size());
  return {std::move(m), {}};
}

}  // namespace morvane
