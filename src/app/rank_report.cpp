#include "app/rank_report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/simulate_json.hpp"
#include "app/simulate_report.hpp"
#include "app/text_layout.hpp"
#include "modes/mode.hpp"

namespace morvane {
namespace {

std::string fixed(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, value);
  return buf;
}

std::string percent(double share) {
  return fixed(100 * share, 2) + "%";
}

// `text` and spaces after it up to `columns` columns; text as wide or wider is left as it is.
std::string padded(const std::string& text, int columns) {
  const int width = display_width(text);
  return width >= columns ? text
                          : text + std::string(static_cast<std::size_t>(columns - width), ' ');
}
std::string right(const std::string& text, int columns) {
  const int width = display_width(text);
  return width >= columns ? text
                          : std::string(static_cast<std::size_t>(columns - width), ' ') + text;
}

// What a report covers, after the mode: the schedule, the seed, and the pairs unless all.
std::string coverage(const RankReport& r) {
  const RankConfig& c = r.config;
  std::string out = "每对" + std::to_string(c.games) + "局（";
  out += c.opponents == 0 ? "两两对战" : "每人对" + std::to_string(c.opponents) + "个随机对手";
  out += "，共" + std::to_string(r.schedule_pairs) + "对，种子" + std::to_string(c.seed);
  const std::vector<PairRange> ranges = r.covered_ranges();
  if (r.shards > 0 || c.first_pair != 0 || c.pairs != r.schedule_pairs) {
    out += "，";
    for (std::size_t k = 0; k < ranges.size(); ++k)
      out += (k != 0 ? "、" : "") + pair_range_text(ranges[k]);
  } else {
    out += "起";
  }
  if (r.shards == 0) out += "，" + std::to_string(c.threads) + "个线程";
  return out + "）";
}

// The table's widest name, up to a point: a longer one pushes its own row along.
int name_columns(const RankReport& r) {
  int widest = 6;
  for (const std::string& e : r.config.entrants)
    widest = std::max(widest, display_width(e));
  return std::min(widest, 24);
}

std::string standing_row(const RankReport& r, const Standing& s, std::size_t place, int columns) {
  const std::string& name = r.config.entrants[static_cast<std::size_t>(s.entrant)];
  std::string row = right(s.rated ? std::to_string(place) : "-", 4) + "  " + padded(name, columns);
  if (s.rated) {
    row += right(fixed(s.rating, 0), 8) + "  " +
           padded(fixed(s.low, 0) + " ~ " + fixed(s.high, 0), 13);
  } else {
    row += right("-", 8) + "  " + padded("-", 13);
  }
  row += right(percent(s.win_rate()), 8) + right(std::to_string(s.wins), 9) +
         right(std::to_string(s.losses), 9) + right(std::to_string(s.draws), 7);
  return row + "\n";
}

std::string upset_line(const RankReport& r, const Upset& u) {
  const auto name = [&r](std::int32_t k) { return r.config.entrants[static_cast<std::size_t>(k)]; };
  return "  " + name(u.winner) + "（" + fixed(u.winner_rating, 0) + "）胜" +
         std::to_string(u.winner_wins) + "局，" + name(u.loser) + "（" + fixed(u.loser_rating, 0) +
         "）胜" + std::to_string(u.loser_wins) + "局，未分胜负" + std::to_string(u.draws) + "局\n";
}

}  // namespace

std::string pair_range_text(const PairRange& r) {
  return r.first == r.second
             ? "第" + std::to_string(r.first) + "对"
             : "第" + std::to_string(r.first) + "～" + std::to_string(r.second) + "对";
}

std::string format_rank(const RankReport& r, const Ranking& ranking) {
  const RankConfig& c = r.config;
  std::string out = r.shards > 0 ? "合并" + std::to_string(r.shards) + "个分片：" : "";
  out += "排名：" + std::to_string(c.entrants.size()) + "个参赛者，" +
         std::string(mode_name(c.mode)) + "，" + coverage(r) + "\n";
  if (r.interrupted()) {
    out += "已中断：计划" + std::to_string(r.planned()) + "局，以下是完成的" +
           std::to_string(r.played) + "局\n";
  }
  const int columns = name_columns(r);
  out += "名次  " + padded("参赛者", columns) + right("等级分", 8) + "  " + padded("95%区间", 13) +
         right("胜率", 8) + right("胜", 9) + right("负", 9) + right("平", 7) + "\n";
  std::size_t place = 0;
  for (const Standing& s : ranking.standings)
    out += standing_row(r, s, ++place, columns);
  out += "（“平”是无人生还和超过" + std::to_string(c.max_rounds) +
         "回合未分胜负的局，拟合时各算半胜；1500是平均水平，高400分约为10比1的胜算";
  if (!ranking.exact_intervals) out += "；参赛者很多，区间是估计的，每人对手少于10个时偏窄";
  out += "）\n";
  if (!ranking.upsets.empty()) {
    out += "与名次不符的对局（名次低的一方赢得多）：\n";
    for (const Upset& u : ranking.upsets)
      out += upset_line(r, u);
  }
  out += timing_line(r.shards, r.seconds, r.games_per_second());
  return out;
}

namespace {

// One CSV field: quoted when it holds a quote, a comma or a line end, and kept from being taken
// for a formula.
std::string csv_field(const std::string& text) {
  std::string value = valid_utf8(text);
  if (!value.empty() && std::string_view("=+-@\t\r").find(value.front()) != std::string::npos)
    value.insert(value.begin(), '\'');
  if (value.find_first_of("\",\r\n") == std::string::npos) return value;
  std::string quoted = "\"";
  for (const char ch : value) {
    quoted += ch;
    if (ch == '"') quoted += '"';
  }
  return quoted + "\"";
}

}  // namespace

std::string format_rank_csv(const RankReport& r, const Ranking& ranking) {
  std::string out = "rank,entrant,rating,ci95_low,ci95_high,win_rate,games,wins,losses,draws\r\n";
  std::size_t place = 0;
  for (const Standing& s : ranking.standings) {
    ++place;
    out += (s.rated ? std::to_string(place) : "") + "," +
           csv_field(r.config.entrants[static_cast<std::size_t>(s.entrant)]) + ",";
    out += s.rated ? fixed(s.rating, 1) + "," + fixed(s.low, 1) + "," + fixed(s.high, 1) : ",,";
    // Appended piece by piece: GCC 12 takes `"," + std::string` in a profile-guided build for
    // an overlapping copy (-Wrestrict), and the packages' builds make warnings errors.
    for (const std::string& field :
         {fixed(s.win_rate(), 6), std::to_string(s.games), std::to_string(s.wins),
          std::to_string(s.losses), std::to_string(s.draws)}) {
      out += ',';
      out += field;
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace morvane
