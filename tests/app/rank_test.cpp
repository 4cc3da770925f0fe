#include "app/rank.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/rank_json.hpp"
#include "app/rank_report.hpp"
#include "app/simulate.hpp"

namespace morvane {
namespace {

RankConfig config_of(std::vector<std::string> entrants, std::int64_t games) {
  RankConfig c;
  c.entrants = std::move(entrants);
  c.games = games;
  c.seed = 77;
  c.threads = 2;
  c.pairs = Schedule(static_cast<std::int32_t>(c.entrants.size()), 0, c.seed).size();
  return c;
}

TEST(RankSchedule, EveryoneMeetsEveryoneOnceInTheOrderGiven) {
  for (std::int32_t n = 2; n <= 41; ++n) {
    const Schedule s(n, 0, 1);
    ASSERT_EQ(s.size(), n * (n - 1) / 2);
    std::int64_t p = 0;
    for (std::int32_t i = 0; i < n; ++i)
      for (std::int32_t j = i + 1; j < n; ++j)
        ASSERT_EQ(s[p++], (Pairing{i, j})) << n << " entrants, pair " << p - 1;
  }
}

TEST(RankSchedule, KOpponentsAreDistinctOthersDrawnFromTheSeed) {
  for (const std::int32_t n : {2, 3, 5, 6, 7, 50, 51}) {
    for (std::int32_t k = 1; k < n; ++k) {
      const Schedule s(n, k, 9);
      std::vector<std::set<std::int32_t>> met(static_cast<std::size_t>(n));
      for (std::int64_t p = 0; p < s.size(); ++p) {
        const Pairing pair = s[p];
        ASSERT_NE(pair.first, pair.second);
        ASSERT_TRUE(met[static_cast<std::size_t>(pair.first)].insert(pair.second).second)
            << n << " entrants, " << k << " opponents: a pair met twice";
        met[static_cast<std::size_t>(pair.second)].insert(pair.first);
      }
      const std::size_t each = static_cast<std::size_t>(k + (k % 2 != 0 && n % 2 != 0 ? 1 : 0));
      for (const auto& opponents : met)
        ASSERT_EQ(opponents.size(), each) << n << " entrants, " << k << " opponents";
    }
  }
  // Another seed, other opponents; the same seed, the same.
  const auto pairs = [](std::uint32_t seed) {
    const Schedule s(50, 6, seed);
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (std::int64_t p = 0; p < s.size(); ++p)
      out.emplace_back(s[p].first, s[p].second);
    return out;
  };
  EXPECT_EQ(pairs(1), pairs(1));
  EXPECT_NE(pairs(1), pairs(2));
}

// The figures simulate gives for games first ... first+games-1 of `first_team` against
// `second_team`.
SimulationReport simulated(std::uint32_t seed, std::int64_t first, std::int64_t games,
                           const std::string& first_team, const std::string& second_team) {
  SimulationConfig c;
  c.seed = seed;
  c.first_game = first;
  c.games = games;
  c.lines = {first_team, second_team};
  return simulate(c);
}

TEST(Rank, APairsFiguresAreSimulatesOverTheSameSeedsHalfWithEachSideFirst) {
  for (const std::int64_t games : {1, 301, 400}) {
    const RankConfig c = config_of({"甲/乙", "tessik", "丙/丁/戊"}, games);
    const RankReport r = rank(c);
    const std::int64_t half = (games + 1) / 2;
    for (std::int64_t p = 0; p < 3; ++p) {
      const Pairing pair = Schedule(3, 0, c.seed)[p];
      const std::string& a = c.entrants[static_cast<std::size_t>(pair.first)];
      const std::string& b = c.entrants[static_cast<std::size_t>(pair.second)];
      const SimulationReport one = simulated(c.seed, p * games, half, a, b);
      const PairTally& t = r.tallies[static_cast<std::size_t>(p)];
      PairTally expected{one.played, one.wins[0], one.wins[1], one.no_winner, one.cut};
      if (games > half) {
        const SimulationReport two = simulated(c.seed, p * games + half, games - half, b, a);
        expected += {two.played, two.wins[1], two.wins[0], two.no_winner, two.cut};
      }
      EXPECT_EQ(t.games, expected.games);
      EXPECT_EQ(t.first_wins, expected.first_wins) << games << " games, pair " << p;
      EXPECT_EQ(t.second_wins, expected.second_wins) << games << " games, pair " << p;
      EXPECT_EQ(t.no_winner, expected.no_winner);
      EXPECT_EQ(t.cut, expected.cut);
    }
  }
}

std::vector<std::int64_t> flat(const RankReport& r) {
  std::vector<std::int64_t> out;
  for (const PairTally& t : r.tallies)
    out.insert(out.end(), {t.games, t.first_wins, t.second_wins, t.no_winner, t.cut});
  return out;
}

TEST(Rank, TheResultsDoNotDependOnTheThreads) {
  RankConfig c = config_of({"a", "b", "c/d", "e"}, 150);
  c.threads = 1;
  const RankReport one = rank(c);
  c.threads = 3;
  EXPECT_EQ(flat(rank(c)), flat(one));
  EXPECT_EQ(one.played, 6 * 150);
  EXPECT_FALSE(one.interrupted());
}

TEST(Rank, AStoppedRunRanksTheGamesItFinished) {
  RankConfig c = config_of({"a", "b", "c", "d", "e", "f"}, 1'000'000);
  std::atomic<bool> stop{false};
  const RankReport r = rank(
      c, [&stop](std::int64_t done) { stop = done > 2000; }, &stop);
  EXPECT_TRUE(r.interrupted());
  std::int64_t counted = 0;
  for (const PairTally& t : r.tallies)
    counted += t.games;
  EXPECT_EQ(counted, r.played);
  EXPECT_GT(r.played, 2000);
  const Ranking ranking = morvane::ranking(r);
  EXPECT_TRUE(ranking.standings.front().rated);
  EXPECT_NE(format_rank(r, ranking).find("已中断：计划15000000局，以下是完成的"),
            std::string::npos);
  const auto j = nlohmann::json::parse(format_rank_json(r, ranking));
  EXPECT_EQ(j["interrupted"], true);
  EXPECT_EQ(j["games_planned"], 15'000'000);
  // What was finished is no shard to merge.
  EXPECT_FALSE(parse_rank(format_rank_json(r, ranking)).report);
}

// A report of the games of pairs first ... first+pairs-1.
RankReport shard(RankConfig c, std::int64_t first, std::int64_t pairs) {
  c.first_pair = first;
  c.pairs = pairs;
  c.threads = 1;
  return rank(c);
}

std::string read_back(const RankReport& r) {
  return format_rank_json(r, ranking(r));
}

// The JSON without what depends on the machine and the run's parts.
nlohmann::json figures(const std::string& text) {
  auto j = nlohmann::json::parse(text);
  for (const char* key : {"seconds", "games_per_second", "threads", "shards", "ranges"})
    j.erase(key);
  return j;
}

TEST(RankJson, ShardsMergedAreOneRun) {
  const RankConfig c = config_of({"甲", "乙/丙", "丁", "tessik", "戊"}, 60);
  const RankReport whole = rank(c);
  std::vector<RankReport> parts;
  for (const auto& [first, pairs] : {std::pair{7, 3}, std::pair{0, 4}, std::pair{4, 3}}) {
    const ParsedRank read = parse_rank(read_back(shard(c, first, pairs)));
    ASSERT_TRUE(read.report) << read.error;
    parts.push_back(*read.report);
  }
  const ParsedRank merged = merge_ranks(parts);
  ASSERT_TRUE(merged.report) << merged.error;
  EXPECT_EQ(figures(read_back(*merged.report)), figures(read_back(whole)));
  EXPECT_EQ(merged.report->ranges, (std::vector<PairRange>{{0, 9}}));
  // A merged report merges again, with a gap left: its pairs alone are ranked.
  const ParsedRank again = parse_rank(read_back(*merge_ranks({parts[0], parts[1]}).report));
  ASSERT_TRUE(again.report) << again.error;
  EXPECT_EQ(again.report->ranges, (std::vector<PairRange>{{0, 3}, {7, 9}}));
  EXPECT_EQ(again.report->played, 7 * 60);
}

TEST(RankJson, MismatchedOverlappingOrForgedShardsAreRefused) {
  const RankConfig c = config_of({"甲", "乙", "丙", "丁"}, 20);
  const RankReport first = shard(c, 0, 3);
  RankConfig other = c;
  other.seed = 78;
  RankConfig more_games = c;
  more_games.games = 21;
  RankConfig entrants = c;
  entrants.entrants.back() = "戊";
  struct Case {
    RankReport second;
    const char* says;
  };
  const Case cases[] = {
      {shard(other, 3, 3), "种子"},
      {shard(more_games, 3, 3), "每对局数"},
      {shard(entrants, 3, 3), "参赛者"},
      {shard(c, 2, 2), "都有第2对"},
  };
  for (const Case& k : cases) {
    const ParsedRank merged = merge_ranks({first, k.second});
    ASSERT_FALSE(merged.report) << k.says;
    EXPECT_NE(merged.error.find(k.says), std::string::npos) << merged.error;
  }
  // A shard whose pairs or counts were changed does not read.
  const std::string good = read_back(first);
  auto j = nlohmann::json::parse(good);
  for (const auto& [row, column, value] : {std::tuple{0u, 1u, 1}, std::tuple{1u, 3u, 19},
                                           std::tuple{2u, 4u, 21}, std::tuple{0u, 0u, 1}}) {
    auto forged = j;
    forged["results"][row][column] = value;
    EXPECT_FALSE(parse_rank(forged.dump()).report) << row << "," << column;
  }
  auto shuffled = j;
  shuffled["entrants"][0] = "乙";
  EXPECT_FALSE(parse_rank(shuffled.dump()).report);
  // Fewer results than the ranges claim is found before the table for them is made.
  auto short_of_results = j;
  short_of_results["results"].erase(short_of_results["results"].size() - 1);
  EXPECT_EQ(parse_rank(short_of_results.dump()).error, "“results”缺了对或多了对");
  EXPECT_TRUE(parse_rank(good).report);
}

TEST(Ranking, TheLowerRatedSideThatScoredMoreIsAnUpsetTheWidestGapFirst) {
  // 甲 beats 乙 and 丁 by far, and 乙 beats 丙 and 丁; but 丙 beats 甲, and 丁 beats 丙.
  RankReport r;
  r.config = config_of({"甲", "乙", "丙", "丁"}, 100);
  r.schedule_pairs = 6;
  // Pairs: (0,1) (0,2) (0,3) (1,2) (1,3) (2,3)
  r.tallies = {{100, 90, 10, 0, 0}, {100, 40, 58, 2, 0}, {100, 95, 5, 0, 0},
               {100, 80, 20, 0, 0}, {100, 70, 28, 1, 1}, {100, 45, 55, 0, 0}};
  r.played = 600;
  const Ranking ranking = morvane::ranking(r);
  std::vector<std::int32_t> order;
  for (const Standing& s : ranking.standings)
    order.push_back(s.entrant);
  EXPECT_EQ(order, (std::vector<std::int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(ranking.standings[0].wins, 225);
  EXPECT_EQ(ranking.standings[1].draws, 2);
  EXPECT_NEAR(ranking.standings[0].win_rate(), 0.75, 1e-12);
  ASSERT_EQ(ranking.upsets.size(), 2u);
  EXPECT_EQ(ranking.upsets[0].winner, 2);  // 丙 over 甲
  EXPECT_EQ(ranking.upsets[0].loser, 0);
  EXPECT_EQ(ranking.upsets[0].draws, 2);
  EXPECT_EQ(ranking.upsets[1].winner, 3);  // 丁 over 丙
  const std::string text = format_rank(r, ranking);
  EXPECT_NE(text.find("丙（"), std::string::npos) << text;
  EXPECT_NE(text.find("）胜58局，甲（"), std::string::npos) << text;
}

TEST(RankReport, CsvKeepsNamesAsTextAndQuotesWhatNeedsIt) {
  RankReport r;
  r.config = config_of({"=HYPERLINK(\"x\")", "a,b", "-1"}, 10);
  r.schedule_pairs = 3;
  r.tallies = {{10, 5, 5, 0, 0}, {10, 5, 5, 0, 0}, {10, 5, 5, 0, 0}};
  r.played = 30;
  const std::string csv = format_rank_csv(r, ranking(r));
  EXPECT_TRUE(
      csv.starts_with("rank,entrant,rating,ci95_low,ci95_high,win_rate,games,wins,losses,"
                      "draws\r\n"));
  EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"x\"\")\","), std::string::npos) << csv;
  EXPECT_NE(csv.find(",\"a,b\","), std::string::npos) << csv;
  EXPECT_NE(csv.find(",'-1,"), std::string::npos) << csv;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);
}

}  // namespace
}  // namespace morvane
