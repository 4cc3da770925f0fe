#include "app/simulate_json.hpp"

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

#include "app/json_limits.hpp"
#include "app/json_reader.hpp"
#include "app/simulate_report.hpp"
#include "console/unicode.hpp"
#include "model/slots.hpp"

namespace morvane {
namespace {

// A report is written with its keys in a fixed order, and read back in any order.
using Json = nlohmann::ordered_json;

}  // namespace

std::string valid_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const unicode::Decoded d = unicode::decode_utf8(text);
    if (d.length == 0) {
      unicode::append_utf8(out, unicode::kReplacement);
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, d.length));
      text.remove_prefix(d.length);
    }
  }
  return out;
}

std::string format_json(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  Json j;
  j["mode"] = static_cast<std::int32_t>(c.mode);
  j["seed"] = c.seed;
  j["first_game"] = c.first_game;
  j["games"] = r.played;
  j["threads"] = c.threads;
  j["max_rounds"] = c.max_rounds;
  // Figures of no game at all are null, as the text report leaves them out.
  const auto figure = [&r](double value) { return r.played > 0 ? Json(value) : Json(nullptr); };
  Json teams = Json::array();
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    const Interval ci = wilson(r.wins[k], r.played);
    teams.push_back({{"team", k + 1},
                     {"line", valid_utf8(c.lines[k])},
                     {"wins", r.wins[k]},
                     {"win_rate", figure(share(r.wins[k], r.played))},
                     {"ci95_low", figure(ci.low)},
                     {"ci95_high", figure(ci.high)}});
  }
  j["teams"] = std::move(teams);
  j["no_winner"] = r.no_winner;
  j["cut"] = r.cut;
  j["total_rounds"] = r.total_rounds;
  j["mean_rounds"] = figure(r.mean_rounds());
  j["most_rounds"] = r.most_rounds;
  j["games_per_second"] = r.games_per_second();
  j["seconds"] = r.seconds;
  j["interrupted"] = r.interrupted();
  if (r.interrupted()) j["games_planned"] = c.games;
  if (r.shards > 0) {
    j["shards"] = r.shards;
    j["ranges"] = r.ranges;
  }
  return j.dump() + "\n";
}

namespace {

// A report's figures and teams, each checked for its type and range; the first fault is left
// in `in.error`. Returns whether the report says it was interrupted.
bool read_figures(const ReadJson& j, Reader& in, SimulationReport& r) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  SimulationConfig& c = r.config;
  c.mode = static_cast<Mode>(in.integer("mode", 1, 2));
  c.seed = static_cast<std::uint32_t>(in.integer("seed", 0, kSeeds - 1));
  c.first_game = in.integer("first_game", 0, kSeeds - 1);
  // 0 only in a run stopped before its first game, which is refused below as interrupted.
  r.played = c.games = in.integer("games", 0, kSeeds);
  c.threads = static_cast<unsigned>(in.integer("threads", 1, 1024));
  c.max_rounds = in.integer("max_rounds", 1, kMax);
  r.no_winner = in.integer("no_winner", 0, kSeeds);
  r.cut = in.integer("cut", 0, kSeeds);
  r.total_rounds = in.integer("total_rounds", 0, kMax);
  r.most_rounds = in.integer("most_rounds", 0, kMax);
  r.seconds = in.number("seconds");
  const bool interrupted = in.interrupted();
  const auto teams = j.find("teams");
  if (teams == j.end() || !teams->is_array() || teams->empty() ||
      teams->size() > static_cast<std::size_t>(kMaxSlot)) {
    in.fail("teams", "不是1～1004个队伍的列表");
    return false;
  }
  for (const ReadJson& team : *teams) {
    const auto line = team.is_object() ? team.find("line") : team.end();
    if (line == team.end() || !line->is_string()) {
      in.fail("line", "不是字符串");
      return false;
    }
    c.lines.push_back(line->get<std::string>());
    r.wins.push_back(in.integer_of(team, "wins", 0, kSeeds));
  }
  return interrupted;
}

// Why a report's figures cannot all be true together; empty when they can.
std::string inconsistency(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::int64_t decided = r.no_winner + r.cut;
  for (const std::int64_t w : r.wins)
    decided += w;
  if (decided != r.played) return "各队胜局、无人生还和未分胜负加起来不等于局数";
  if (c.first_game + c.games > kSeeds) return "局的编号超过了2^32";
  if (r.most_rounds > c.max_rounds) return "最多回合数超过了回合上限";
  // total_rounds <= most_rounds * played, without the product (it may not fit in 64 bits)
  if (r.total_rounds > 0 &&
      (r.most_rounds == 0 || (r.total_rounds - 1) / r.most_rounds >= r.played)) {
    return "总回合数超过了局数乘最多回合数";
  }
  return {};
}

// The ranges of games a report covers: a merged report lists them, a plain run covers one.
// Returns the fault, or empty.
std::string read_ranges(const ReadJson& j, SimulationReport& r) {
  SimulationConfig& c = r.config;
  const auto ranges = j.find("ranges");
  if (ranges == j.end()) {
    r.ranges = r.covered_ranges();
    return {};
  }
  std::int64_t covered = 0, after = 0;
  if (!ranges->is_array() || ranges->empty()) return "“ranges”不是局的范围列表";
  for (const ReadJson& range : *ranges) {
    if (!range.is_array() || range.size() != 2 || !range[0].is_number_integer() ||
        !range[1].is_number_integer()) {
      return "“ranges”不是局的范围列表";
    }
    const auto first = range[0].get<std::int64_t>(), last = range[1].get<std::int64_t>();
    if (first < after || last < first || last >= kSeeds) return "“ranges”的范围不按顺序或超出2^32";
    r.ranges.emplace_back(first, last);
    covered += last - first + 1;
    after = last + 1;
  }
  if (covered != r.played) return "“ranges”覆盖的局数不等于局数";
  c.first_game = r.ranges.front().first;
  r.shards = 1;
  return {};
}

}  // namespace

ParsedReport parse_report(std::string_view text) {
  // Bounded before a tree is built.
  if (std::string fault = json_fault(text); !fault.empty()) return {std::nullopt, std::move(fault)};
  const ReadJson j = ReadJson::parse(text, nullptr, false);
  if (j.is_discarded()) return {std::nullopt, "内容无法解析"};
  if (!j.is_object()) return {std::nullopt, "内容不是一份模拟结果"};
  Reader in(j);
  SimulationReport r;
  const bool interrupted = read_figures(j, in, r);
  if (!in.error.empty()) return {std::nullopt, in.error};
  if (interrupted) return {std::nullopt, "是中断了的模拟，它完成的不是连续的一段局"};
  if (r.played == 0) return {std::nullopt, "“games”超出范围"};
  std::string fault = inconsistency(r);
  if (fault.empty()) fault = read_ranges(j, r);
  if (!fault.empty()) return {std::nullopt, std::move(fault)};
  return {std::move(r), {}};
}

}  // namespace morvane
