#include "app/simulate.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <memory>
#include <string>

#include "app/json_limits.hpp"
#include "app/simulate_json.hpp"
#include "app/simulate_merge.hpp"
#include "app/simulate_report.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "support/recording_console.hpp"
#include "terminal/platform.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

SimulationConfig three_against_three(std::int64_t games, unsigned threads) {
  SimulationConfig config;
  config.games = games;
  config.seed = 4242;
  config.threads = threads;
  config.lines = {"甲/乙/丙", "丁/戊/己"};
  return config;
}

// The winner line of the game a player gets with `morvane --seed SEED` and the same teams.
std::string interactive_winner(std::uint32_t seed, const std::string& input) {
  RecordingConsole console(input);
  Lcg random(seed);
  auto g = std::make_unique<Game>(console, random);
  play_game(*g);
  const std::string& text = console.transcript();
  const auto at = text.find("胜利的是第");
  return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

TEST(Simulate, EachGameIsTheInteractiveGameOfItsSeed) {
  for (const Mode mode : {Mode::TeamMatch, Mode::DarkMatch}) {
    for (std::uint32_t seed = 100; seed < 108; ++seed) {
      SimulationConfig config = three_against_three(1, 1);
      config.mode = mode;
      config.seed = seed;
      config.lines = {"甲/乙", "丙/tessik", "丁"};
      const SimulationReport r = simulate(config);
      std::string expected;
      for (std::size_t t = 0; t < r.wins.size(); ++t) {
        if (r.wins[t] == 1) expected = "胜利的是第" + std::to_string(t + 1) + "队";
      }
      EXPECT_EQ(interactive_winner(
                    seed, std::to_string(static_cast<int>(mode)) + "\n3\n甲/乙\n丙/tessik\n丁\n"),
                expected)
          << mode_name(mode) << ", seed " << seed;
    }
  }
}

TEST(Simulate, TheRoundCapCountsABattleAsUndecided) {
  SimulationConfig config = three_against_three(200, 2);
  config.max_rounds = 1;
  const SimulationReport r = simulate(config);
  EXPECT_GT(r.cut, 0);
  EXPECT_EQ(r.wins[0] + r.wins[1] + r.no_winner + r.cut, 200);
  EXPECT_EQ(r.most_rounds, 1);
}

TEST(Simulate, ARunStoppedBeforeItsFirstGameEndsShowsNoRatesAndCannotBeMerged) {
  const std::atomic<bool> stop{true};
  const SimulationReport r = simulate(three_against_three(100, 2), {}, &stop);
  ASSERT_EQ(r.played, 0);
  EXPECT_EQ(format_report(r).find('%'), std::string::npos) << format_report(r);
  const auto j = nlohmann::json::parse(format_json(r));
  for (const char* figure : {"win_rate", "ci95_low", "ci95_high"})
    EXPECT_TRUE(j["teams"][1][figure].is_null()) << j.dump();
  EXPECT_TRUE(j["mean_rounds"].is_null());
  EXPECT_NE(parse_report(format_json(r)).error.find("中断"), std::string::npos);
}

TEST(Simulate, WilsonIntervalsMatchTheTextbook) {
  const Interval half = wilson(50, 100);
  EXPECT_NEAR(half.low, 0.4038, 1e-4);
  EXPECT_NEAR(half.high, 0.5962, 1e-4);
  const Interval none = wilson(0, 20);
  EXPECT_EQ(none.low, 0.0);
  EXPECT_NEAR(none.high, 0.1611, 1e-4);
}

// A shard as another machine would hand it over: its JSON, read back.
SimulationReport shard(std::int64_t first, std::int64_t games, unsigned threads = 2) {
  SimulationConfig config = three_against_three(games, threads);
  config.first_game = first;
  ParsedReport parsed = parse_report(format_json(simulate(config)));
  EXPECT_TRUE(parsed.report) << parsed.error;
  return parsed.report ? *parsed.report : SimulationReport{};
}

void expect_same_figures(const SimulationReport& x, const SimulationReport& y) {
  EXPECT_EQ(x.played, y.played);
  EXPECT_EQ(x.wins, y.wins);
  EXPECT_EQ(x.no_winner, y.no_winner);
  EXPECT_EQ(x.cut, y.cut);
  EXPECT_EQ(x.total_rounds, y.total_rounds);
  EXPECT_EQ(x.most_rounds, y.most_rounds);
}

// However many threads play them, the same games: the shards' threads differ from the run's.
TEST(Simulate, ShardsMergedInAnyOrderAreOneRunOverTheSameGames) {
  const SimulationReport whole = simulate(three_against_three(3000, 3));
  EXPECT_EQ(whole.wins[0] + whole.wins[1] + whole.no_winner + whole.cut, 3000);
  const SimulationReport a = shard(0, 1000), b = shard(1000, 1500, 1), c = shard(2500, 500);
  for (const auto& order : {std::vector{a, b, c}, std::vector{c, a, b}}) {
    const MergedReport m = merge_reports(order);
    ASSERT_TRUE(m.report) << m.error;
    expect_same_figures(*m.report, whole);
    EXPECT_EQ(m.report->ranges, (decltype(m.report->ranges){{0, 2999}}));
    // The merged figures print as one run's, from its own JSON too.
    const ParsedReport again = parse_report(format_json(*m.report));
    ASSERT_TRUE(again.report) << again.error;
    expect_same_figures(*again.report, whole);
    EXPECT_NE(
        format_report(*m.report).find("合并3个分片：模拟了3000局正常模式（种子4242，第0～2999局）"),
        std::string::npos)
        << format_report(*m.report);
  }
  // A gap is allowed, and shows in the ranges.
  const MergedReport gap = merge_reports({a, c});
  ASSERT_TRUE(gap.report) << gap.error;
  EXPECT_EQ(gap.report->played, 1500);
  EXPECT_EQ(gap.report->ranges, (decltype(gap.report->ranges){{0, 999}, {2500, 2999}}));
}

TEST(Simulate, MergeRefusesShardsOfAnotherRunAndShardsThatOverlap) {
  const SimulationReport a = shard(0, 100), b = shard(100, 100);
  const auto refused = [](std::vector<SimulationReport> shards, const std::string& why) {
    const MergedReport m = merge_reports(shards);
    EXPECT_FALSE(m.report);
    EXPECT_NE(m.error.find(why), std::string::npos) << m.error;
  };
  SimulationReport other = b;
  other.config.lines[1] = "丁/戊";
  refused({a, other}, "队伍");
  other = b, other.config.mode = Mode::DarkMatch;
  refused({a, other}, "模式");
  other = b, other.config.max_rounds = 50;
  refused({a, other}, "回合上限");
  other = b, other.config.seed = 1;
  refused({a, other}, "种子");
  refused({a, b, shard(150, 100)}, "第2个和第3个分片都有第150～199局");
  refused({a, a}, "第1个和第2个分片都有第0～99局");
}

TEST(Simulate, OnlyReportsWhoseFiguresAddUpAreReadBack) {
  const std::string good = format_json(simulate(three_against_three(20, 1)));
  ASSERT_TRUE(parse_report(good).report) << parse_report(good).error;
  const auto edited = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  for (const std::string& bad :
       {std::string("not json"), std::string("[1,2]"), std::string("{}"), good.substr(0, 40),
        edited("\"games\":20", "\"games\":21"), edited("\"mode\":1", "\"mode\":3"),
        edited("\"first_game\":0", "\"first_game\":4294967290"),
        edited("\"games\":20", "\"games\":20.5"), edited("\"seed\":4242", "\"seed\":-1"),
        edited("\"interrupted\":false", "\"interrupted\":true"),
        edited("\"total_rounds\":", "\"total_rounds\":9999999999999"),
        edited("\"line\":", "\"line\":7,\"x\":")}) {
    EXPECT_FALSE(parse_report(bad).report) << bad;
    EXPECT_FALSE(parse_report(bad).error.empty());
  }
}

TEST(Simulate, AReportThatNestsDeeperOrHoldsMoreThanAnyReportIsRefusedUnread) {
  const std::string good = format_json(simulate(three_against_three(20, 1)));
  const JsonBounds bounds;
  EXPECT_EQ(json_fault(good), "");
  const auto nested = [](std::size_t depth) {
    return std::string(depth, '[') + std::string(depth, ']');
  };
  EXPECT_EQ(json_fault(nested(bounds.depth)), "");
  EXPECT_NE(json_fault(nested(bounds.depth + 1)).find("嵌套太深"), std::string::npos);
  // Refused at the first bracket past the bound, however many follow and whether they close.
  EXPECT_NE(parse_report(std::string(1 << 20, '[')).error.find("嵌套太深"), std::string::npos);
  std::string values = "[0";
  for (std::size_t k = 2; k < bounds.values; ++k)
    values += ",0";
  EXPECT_EQ(json_fault(values + "]"), "");
  EXPECT_NE(json_fault(values + ",0]").find("值太多"), std::string::npos);
  EXPECT_EQ(json_fault("{\"a\":"), "内容无法解析");
}

TEST(Simulate, JsonNamesAreUtf8FromAGbkLocaleAndBrokenBytesAndEscaped) {
  // 杰哥 as a GBK locale hands it over, then a byte that is no character at all.
  SimulationConfig config = three_against_three(50, 1);
  config.lines = {platform::gbk_to_utf8()->convert("\xBD\xDC\xB8\xE7/\xFF"), "a\xC3(/\x80\"\\"};
  const std::string text = format_json(simulate(config));
  const auto json = nlohmann::json::parse(text, nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << text;
  EXPECT_EQ(json["teams"][0]["line"], "杰哥/\uFFFD");
  EXPECT_EQ(json["teams"][1]["line"], "a\uFFFD(/\uFFFD\"\\");
  EXPECT_EQ(json["games"], 50);
  EXPECT_EQ(valid_utf8("\xF0\x9F\x98"), "\uFFFD\uFFFD\uFFFD");      // an emoji cut short
  EXPECT_EQ(valid_utf8("甲\xED\xA0\x80"), "甲\uFFFD\uFFFD\uFFFD");  // a surrogate
}

}  // namespace
}  // namespace morvane
