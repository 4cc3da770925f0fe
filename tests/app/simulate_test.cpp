#include "app/simulate.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/random.hpp"
#include "modes/modes.hpp"
#include "support/recording_console.hpp"

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

TEST(Simulate, TotalsDoNotDependOnTheNumberOfThreads) {
  const SimulationReport one = simulate(three_against_three(3000, 1));
  const SimulationReport three = simulate(three_against_three(3000, 3));
  EXPECT_EQ(one.wins, three.wins);
  EXPECT_EQ(one.no_winner, three.no_winner);
  EXPECT_EQ(one.total_rounds, three.total_rounds);
  EXPECT_EQ(one.most_rounds, three.most_rounds);
  EXPECT_EQ(one.wins[0] + one.wins[1] + one.no_winner + one.cut, 3000);
}

// The winner line of the game a player gets with `morvane --seed SEED` and the same teams.
std::string interactive_winner(std::uint32_t seed, const std::string& input) {
  RecordingConsole console(input);
  Lcg random(seed);
  auto g = std::make_unique<Game>(console, random);
  play(*g);
  const std::string& text = console.transcript();
  const auto at = text.find("胜利的是第");
  return at == std::string::npos ? "" : text.substr(at, text.find('\n', at) - at);
}

TEST(Simulate, EachGameIsTheInteractiveGameOfItsSeed) {
  for (std::int32_t mode : {1, 2}) {
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
      EXPECT_EQ(interactive_winner(seed, std::to_string(mode) + "\n3\n甲/乙\n丙/tessik\n丁\n"),
                expected)
          << "mode " << mode << ", seed " << seed;
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

TEST(Simulate, WilsonIntervalsMatchTheTextbook) {
  const Interval half = wilson(50, 100);
  EXPECT_NEAR(half.low, 0.4038, 1e-4);
  EXPECT_NEAR(half.high, 0.5962, 1e-4);
  const Interval none = wilson(0, 20);
  EXPECT_EQ(none.low, 0.0);
  EXPECT_NEAR(none.high, 0.1611, 1e-4);
}

TEST(Simulate, TheJsonReportCarriesTheFiguresAndEscapesNames) {
  SimulationConfig config = three_against_three(10, 1);
  config.lines = {"a\"b", "c\\d"};
  const std::string json = format_json(simulate(config));
  EXPECT_NE(json.find("\"line\":\"a\\\"b\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"line\":\"c\\\\d\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"games\":10"), std::string::npos);
}

}  // namespace
}  // namespace morvane
