#include "app/simulate_report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "modes/mode.hpp"

namespace morvane {
namespace {

std::string percent(double share) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%", 100.0 * share);
  return buf;
}

std::string fixed(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, value);
  return buf;
}

// What a report covers, after the mode: the seed and, unless it is a plain run from game 0, the
// games.
std::string coverage(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out = "种子" + std::to_string(c.seed);
  if (r.shards > 0) {
    out += "，";
    for (std::size_t k = 0; k < r.ranges.size(); ++k)
      out += (k != 0 ? "、" : "") + range_text(r.ranges[k]);
  } else if (c.first_game != 0) {
    out += "，" + range_text({c.first_game, c.first_game + c.games - 1});
  } else {
    out += "起";
  }
  return out;
}

}  // namespace

std::string timing_line(std::int64_t shards, double seconds, double games_per_second) {
  if (shards > 0) return "各分片用时合计" + fixed(seconds, 3) + "秒\n";
  return "速度：每秒" + fixed(games_per_second, 0) + "局（用时" + fixed(seconds, 3) + "秒）\n";
}

std::string range_text(const GameRange& r) {
  return r.first == r.second
             ? "第" + std::to_string(r.first) + "局"
             : "第" + std::to_string(r.first) + "～" + std::to_string(r.second) + "局";
}

Interval wilson(std::int64_t successes, std::int64_t trials) {
  if (trials <= 0) return {0, 0};
  const double z = 1.959963984540054;
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(successes) / n;
  const double denominator = 1 + z * z / n;
  const double centre = (p + z * z / (2 * n)) / denominator;
  const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

std::string format_report(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out = r.shards > 0 ? "合并" + std::to_string(r.shards) + "个分片：" : "";
  out += "模拟了" + std::to_string(r.played) + "局" + std::string(mode_name(c.mode)) + "（" +
         coverage(r);
  if (r.shards == 0) out += "，" + std::to_string(c.threads) + "个线程";
  out += "）\n";
  if (r.interrupted() && r.played == 0) {
    out += "已中断：计划" + std::to_string(c.games) + "局，一局也没有打完，没有胜率\n";
  } else if (r.interrupted()) {
    out += "已中断：计划" + std::to_string(c.games) + "局，以下是完成的" +
           std::to_string(r.played) + "局\n";
  }
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    out += "第" + std::to_string(k + 1) + "队 " + c.lines[k] + "：胜" + std::to_string(r.wins[k]) +
           "局";
    // No game, no rate: an interval of nothing would read as a certain 0%.
    if (r.played > 0) {
      const Interval ci = wilson(r.wins[k], r.played);
      out += "，胜率" + percent(share(r.wins[k], r.played)) + "（95%置信区间 " + percent(ci.low) +
             " ~ " + percent(ci.high) + "）";
    }
    out += "\n";
  }
  out += "无人生还：" + std::to_string(r.no_winner) + "局\n";
  out += "超过" + std::to_string(c.max_rounds) + "回合未分胜负：" + std::to_string(r.cut) + "局\n";
  out += "平均回合数：" + (r.played > 0 ? fixed(r.mean_rounds(), 2) : "无") + "，最多：" +
         std::to_string(r.most_rounds) + "回合\n";
  out += timing_line(r.shards, r.seconds, r.games_per_second());
  return out;
}

}  // namespace morvane
