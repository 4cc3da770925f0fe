#include "app/rank_json.hpp"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>
#include <utility>

#include "app/json_reader.hpp"
#include "app/rank_report.hpp"
#include "app/simulate_json.hpp"
#include "app/simulate_merge.hpp"

namespace morvane {
namespace {

using Json = nlohmann::ordered_json;

Json standing_json(const RankReport& r, const Standing& s, std::size_t place) {
  Json j = {{"rank", s.rated ? Json(place) : Json()},
            {"entrant", valid_utf8(r.config.entrants[static_cast<std::size_t>(s.entrant)])},
            {"index", s.entrant}};
  j["rating"] = s.rated ? Json(s.rating) : Json();
  j["ci95_low"] = s.rated ? Json(s.low) : Json();
  j["ci95_high"] = s.rated ? Json(s.high) : Json();
  j["games"] = s.games;
  j["wins"] = s.wins;
  j["losses"] = s.losses;
  j["draws"] = s.draws;
  j["win_rate"] = s.win_rate();
  return j;
}

Json upset_json(const RankReport& r, const Upset& u) {
  const auto name = [&r](std::int32_t k) {
    return valid_utf8(r.config.entrants[static_cast<std::size_t>(k)]);
  };
  return {{"winner", name(u.winner)},
          {"loser", name(u.loser)},
          {"winner_rating", u.winner_rating},
          {"loser_rating", u.loser_rating},
          {"winner_wins", u.winner_wins},
          {"loser_wins", u.loser_wins},
          {"draws", u.draws}};
}

}  // namespace

std::string format_rank_json(const RankReport& r, const Ranking& ranking) {
  const RankConfig& c = r.config;
  const Schedule schedule(static_cast<std::int32_t>(c.entrants.size()), c.opponents, c.seed);
  Json j;
  j["mode"] = static_cast<std::int32_t>(c.mode);
  j["seed"] = c.seed;
  j["games_per_pair"] = c.games;
  j["max_rounds"] = c.max_rounds;
  j["opponents"] = c.opponents;
  j["threads"] = c.threads;
  Json entrants = Json::array();
  for (const std::string& e : c.entrants)
    entrants.push_back(valid_utf8(e));
  j["entrants"] = std::move(entrants);
  j["schedule_pairs"] = r.schedule_pairs;
  j["first_pair"] = c.first_pair;
  j["pairs"] = c.pairs;
  // [pair, first, second, games, first's wins, second's wins, nobody left, cut]
  Json results = Json::array();
  for (std::size_t k = 0; k < r.tallies.size(); ++k) {
    const PairTally& t = r.tallies[k];
    if (t.games == 0) continue;
    const std::int64_t pair = c.first_pair + static_cast<std::int64_t>(k);
    const Pairing p = schedule[pair];
    results.push_back(
        {pair, p.first, p.second, t.games, t.first_wins, t.second_wins, t.no_winner, t.cut});
  }
  j["results"] = std::move(results);
  Json standings = Json::array();
  std::size_t place = 0;
  for (const Standing& s : ranking.standings)
    standings.push_back(standing_json(r, s, ++place));
  j["ranking"] = std::move(standings);
  j["exact_intervals"] = ranking.exact_intervals;
  Json upsets = Json::array();
  for (const Upset& u : ranking.upsets)
    upsets.push_back(upset_json(r, u));
  j["upsets"] = std::move(upsets);
  j["games"] = r.played;
  j["seconds"] = r.seconds;
  j["games_per_second"] = r.games_per_second();
  j["interrupted"] = r.interrupted();
  if (r.interrupted()) j["games_planned"] = r.planned();
  if (r.shards > 0) {
    j["shards"] = r.shards;
    j["ranges"] = r.ranges;
  }
  return j.dump() + "\n";
}

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();

// The run a report says it was, each figure checked for its type and range.
bool read_run(const ReadJson& j, Reader& in, RankReport& r) {
  RankConfig& c = r.config;
  c.mode = static_cast<Mode>(in.integer("mode", 1, 2));
  c.seed = static_cast<std::uint32_t>(in.integer("seed", 0, kSeeds - 1));
  c.games = in.integer("games_per_pair", 1, kSeeds);
  c.max_rounds = in.integer("max_rounds", 1, kMax);
  c.opponents = static_cast<std::int32_t>(in.integer("opponents", 0, kMaxEntrants - 1));
  c.threads = static_cast<unsigned>(in.integer("threads", 1, 1024));
  r.schedule_pairs = in.integer("schedule_pairs", 1, kSeeds);
  c.first_pair = in.integer("first_pair", 0, kSeeds - 1);
  c.pairs = in.integer("pairs", 1, kMaxPairs);
  r.played = in.integer("games", 0, kSeeds);
  r.seconds = in.number("seconds");
  const bool interrupted = in.interrupted();
  const auto entrants = j.find("entrants");
  if (entrants == j.end() || !entrants->is_array() || entrants->size() < 2 ||
      entrants->size() > static_cast<std::size_t>(kMaxEntrants)) {
    in.fail("entrants", "不是2～100000个参赛者的列表");
    return false;
  }
  for (const ReadJson& e : *entrants) {
    if (!e.is_string()) {
      in.fail("entrants", "里有不是字符串的");
      return false;
    }
    c.entrants.push_back(e.get<std::string>());
  }
  return interrupted;
}

// Why the run's figures cannot all be true together; empty when they can.
std::string inconsistency(const RankReport& r) {
  const RankConfig& c = r.config;
  if (std::string fault = entrants_fault(c.entrants); !fault.empty())
    return "“entrants”不对：" + fault;
  const auto n = static_cast<std::int64_t>(c.entrants.size());
  if (c.opponents >= n) return "“opponents”不小于参赛者数";
  const Schedule schedule(static_cast<std::int32_t>(n), c.opponents, c.seed);
  if (schedule.size() != r.schedule_pairs) return "“schedule_pairs”和参赛者、对手数对不上";
  if (schedule.size() > kSeeds / c.games) return "对局超出了2^32个种子";
  if (c.first_pair + c.pairs > schedule.size()) return "对的范围超出了赛程";
  if (r.played != r.planned()) return "局数和对数乘每对局数对不上";
  return {};
}

// The pairs a report covers: a merged report lists them, a plain run covers one range.
std::string read_ranges(const ReadJson& j, RankReport& r) {
  const auto ranges = j.find("ranges");
  if (ranges == j.end()) return {};
  if (!ranges->is_array() || ranges->empty()) return "“ranges”不是对的范围列表";
  std::int64_t after = r.config.first_pair;
  for (const ReadJson& range : *ranges) {
    if (!range.is_array() || range.size() != 2 || !range[0].is_number_integer() ||
        !range[1].is_number_integer()) {
      return "“ranges”不是对的范围列表";
    }
    const auto first = range[0].get<std::int64_t>(), last = range[1].get<std::int64_t>();
    if (first < after || last < first || last >= r.config.first_pair + r.config.pairs)
      return "“ranges”的范围不按顺序或超出了对的范围";
    r.ranges.emplace_back(first, last);
    after = last + 1;
  }
  if (r.ranges.front().first != r.config.first_pair ||
      r.ranges.back().second != r.config.first_pair + r.config.pairs - 1)
    return "“ranges”和“first_pair”、“pairs”对不上";
  r.shards = 1;
  return {};
}

// Each pair's results, every pair covered once, in order, as the schedule pairs them.
std::string read_results(const ReadJson& j, Reader& in, RankReport& r) {
  const RankConfig& c = r.config;
  const Schedule schedule(static_cast<std::int32_t>(c.entrants.size()), c.opponents, c.seed);
  const auto results = j.find("results");
  if (results == j.end() || !results->is_array()) return "“results”不是对局结果的列表";
  const std::vector<PairRange> ranges = r.covered_ranges();
  // Counted before the table is made: a small file cannot claim a large one.
  std::int64_t covered = 0;
  for (const PairRange& range : ranges)
    covered += range.second - range.first + 1;
  if (static_cast<std::int64_t>(results->size()) != covered) return "“results”缺了对或多了对";
  r.tallies.assign(static_cast<std::size_t>(c.pairs), {});
  std::size_t range = 0;
  std::int64_t expected = ranges.front().first;
  for (const ReadJson& row : *results) {
    if (!row.is_array() || row.size() != 8) return "“results”里有不是8个数的一项";
    const std::int64_t pair = in.value(row[0], "results", 0, kSeeds);
    const Pairing p{static_cast<std::int32_t>(in.value(row[1], "results", 0, kMaxEntrants)),
                    static_cast<std::int32_t>(in.value(row[2], "results", 0, kMaxEntrants))};
    PairTally t;
    t.games = in.value(row[3], "results", 0, kSeeds);
    t.first_wins = in.value(row[4], "results", 0, kSeeds);
    t.second_wins = in.value(row[5], "results", 0, kSeeds);
    t.no_winner = in.value(row[6], "results", 0, kSeeds);
    t.cut = in.value(row[7], "results", 0, kSeeds);
    if (!in.error.empty()) return in.error;
    if (range >= ranges.size() || pair != expected) return "“results”缺了对、多了对或不按顺序";
    if (!(schedule[pair] == p)) return "第" + std::to_string(pair) + "对的参赛者和赛程不符";
    if (t.games != c.games || t.first_wins + t.second_wins + t.draws() != t.games)
      return "第" + std::to_string(pair) + "对的局数对不上";
    r.tallies[static_cast<std::size_t>(pair - c.first_pair)] = t;
    expected =
        pair == ranges[range].second && ++range < ranges.size() ? ranges[range].first : pair + 1;
  }
  if (range < ranges.size()) return "“results”缺了对";
  return {};
}

}  // namespace

ParsedRank parse_rank(std::string_view text) {
  if (std::string fault = json_fault(text, kRankShardBounds); !fault.empty())
    return {std::nullopt, std::move(fault)};
  const ReadJson j = ReadJson::parse(text, nullptr, false);
  if (j.is_discarded()) return {std::nullopt, "内容无法解析"};
  if (!j.is_object()) return {std::nullopt, "内容不是一份排名结果"};
  Reader in(j);
  RankReport r;
  const bool interrupted = read_run(j, in, r);
  if (!in.error.empty()) return {std::nullopt, in.error};
  if (interrupted) return {std::nullopt, "是中断了的排名，它完成的不是完整的几对"};
  std::string fault = read_ranges(j, r);
  if (fault.empty()) fault = inconsistency(r);
  if (fault.empty()) fault = read_results(j, in, r);
  if (!fault.empty()) return {std::nullopt, std::move(fault)};
  return {std::move(r), {}};
}

ParsedRank merge_ranks(const std::vector<RankReport>& shards) {
  if (shards.empty()) return {std::nullopt, "没有分片"};
  const RankConfig& c0 = shards.front().config;
  std::vector<std::pair<PairRange, std::size_t>> ranges;  // and the shard each came from
  for (std::size_t k = 0; k < shards.size(); ++k) {
    const RankConfig& c = shards[k].config;
    const std::string which = "第" + std::to_string(k + 1) + "个分片";
    if (c.entrants != c0.entrants) return {std::nullopt, which + "的参赛者和第1个不同"};
    if (c.mode != c0.mode) return {std::nullopt, which + "的模式和第1个不同"};
    if (c.games != c0.games) return {std::nullopt, which + "的每对局数（--games）和第1个不同"};
    if (c.max_rounds != c0.max_rounds)
      return {std::nullopt, which + "的回合上限（--max-rounds）和第1个不同"};
    if (c.seed != c0.seed) return {std::nullopt, which + "的种子（--seed）和第1个不同"};
    if (c.opponents != c0.opponents)
      return {std::nullopt, which + "的赛程（--opponents）和第1个不同"};
    if (shards[k].interrupted()) return {std::nullopt, which + "是中断了的排名"};
    for (const PairRange& r : shards[k].covered_ranges())
      ranges.push_back({r, k});
  }
  RankReport m;
  m.config = c0;
  m.config.threads = 1;
  m.schedule_pairs = shards.front().schedule_pairs;
  JoinedRanges joined = join_shard_ranges(std::move(ranges), pair_range_text);
  if (!joined.overlap.empty()) return {std::nullopt, std::move(joined.overlap)};
  m.ranges = std::move(joined.ranges);
  m.config.first_pair = m.ranges.front().first;
  m.config.pairs = m.ranges.back().second - m.config.first_pair + 1;
  if (m.config.pairs > kMaxPairs) return {std::nullopt, "分片合起来的对太多"};
  m.tallies.assign(static_cast<std::size_t>(m.config.pairs), {});
  for (const RankReport& s : shards) {
    for (std::size_t k = 0; k < s.tallies.size(); ++k) {
      const std::int64_t pair = s.config.first_pair + static_cast<std::int64_t>(k);
      m.tallies[static_cast<std::size_t>(pair - m.config.first_pair)] += s.tallies[k];
    }
    m.played += s.played;
    m.seconds += s.seconds;
  }
  m.shards = static_cast<std::int64_t>(shards.size());
  return {std::move(m), {}};
}

}  // namespace morvane
