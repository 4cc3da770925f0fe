// How fast the engine plays: many small matches on one or two threads, one large match (with
// and without the target index), and what one continuation of the live odds costs. Run with
// scripts/bench (a Release build), which also runs the build this work started from side by
// side; the figures are in the README.

#include <benchmark/benchmark.h>

#include <atomic>
#include <memory>
#include <string>

#include "app/simulate.hpp"
#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"
#include "odds/odds.hpp"

namespace {

using namespace morvane;

// Three ordinary names against three, as `morvane simulate` plays them.
void BM_SimulateThreeAgainstThree(benchmark::State& state) {
  SimulationConfig config;
  config.games = 20000;
  config.threads = static_cast<unsigned>(state.range(0));
  config.lines = {"甲/乙/丙", "丁/戊/己"};
  std::int64_t games = 0;
  // As the command runs them: with a stop flag, which every battle round looks at.
  const std::atomic<bool> stop{false};
  for (auto _ : state) {
    const SimulationReport report = simulate(config, {}, &stop);
    benchmark::DoNotOptimize(report.wins.data());
    games += config.games;
    ++config.seed;
  }
  state.counters["games_per_second"] =
      benchmark::Counter(static_cast<double>(games), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SimulateThreeAgainstThree)
    ->Arg(1)
    ->Arg(2)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

std::string names(int count, const std::string& prefix) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    if (i != 0) line += '/';
    line += prefix + std::to_string(i);
  }
  return line;
}

// Two teams of 500: a thousand fighters in one battle, with nothing shown.
void thousand_fighter_match(benchmark::State& state, std::int32_t index_from) {
  QuietConsole console;
  Lcg random(1);
  auto g = std::make_unique<Game>(console, random);
  g->silent = true;
  g->index_from = index_from;
  const std::string first = names(500, "a"), second = names(500, "b");
  std::uint32_t seed = 1;
  for (auto _ : state) {
    g->reset();
    random.srand(seed++);
    g->n = 2;
    add_team(*g, 1, first, 1);
    add_team(*g, 2, second, 1);
    game(*g);
    benchmark::DoNotOptimize(g->hhs);
  }
}
void BM_ThousandFighterMatch(benchmark::State& state) {
  thousand_fighter_match(state, kIndexFrom);
}
BENCHMARK(BM_ThousandFighterMatch)->Unit(benchmark::kMillisecond);
// The same with the plain walk over the roster for every target search.
void BM_ThousandFighterMatchWithoutIndex(benchmark::State& state) {
  thousand_fighter_match(state, kMaxSlot + 1);
}
BENCHMARK(BM_ThousandFighterMatchWithoutIndex)->Unit(benchmark::kMillisecond);

// One continuation of the live odds, from the start of the battle (a 1000-fighter battle is
// usually decided within its first round, so no later moment is sure to come): the counter is
// how many fit in the 50 ms a round may spend.
void odds_continuation(benchmark::State& state, const std::string& first,
                       const std::string& second) {
  QuietConsole console;
  Lcg random(1);
  auto g = std::make_unique<Game>(console, random);
  g->n = 2;
  add_team(*g, 1, first, 1);
  add_team(*g, 2, second, 1);
  odds::Estimator estimator;
  std::int64_t played = 0;
  for (auto _ : state) {
    const odds::Estimate e = estimator.play(*g, BattleState{}, 1, 20);
    benchmark::DoNotOptimize(e.wins.data());
    played += e.played;
  }
  state.counters["per_50ms"] =
      benchmark::Counter(static_cast<double>(played) * 0.05, benchmark::Counter::kIsRate);
}
void BM_OddsContinuationThreeAgainstThree(benchmark::State& state) {
  odds_continuation(state, "甲/乙/丙", "丁/戊/己");
}
BENCHMARK(BM_OddsContinuationThreeAgainstThree)->Unit(benchmark::kMillisecond);
void BM_OddsContinuationThousandFighters(benchmark::State& state) {
  odds_continuation(state, names(500, "a"), names(500, "b"));
}
BENCHMARK(BM_OddsContinuationThousandFighters)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
