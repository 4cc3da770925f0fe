// How fast the engine plays: many small matches on one or two threads, and one large match.
// Run with scripts/bench (a Release build); the figures are in the README.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/simulate.hpp"
#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

namespace {

using namespace morvane;

// Three ordinary names against three, as `morvane simulate` plays them.
void BM_SimulateThreeAgainstThree(benchmark::State& state) {
  SimulationConfig config;
  config.games = 20000;
  config.threads = static_cast<unsigned>(state.range(0));
  config.lines = {"甲/乙/丙", "丁/戊/己"};
  std::int64_t games = 0;
  for (auto _ : state) {
    const SimulationReport report = simulate(config);
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
void BM_ThousandFighterMatch(benchmark::State& state) {
  QuietConsole console;
  Lcg random(1);
  auto g = std::make_unique<Game>(console, random);
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
BENCHMARK(BM_ThousandFighterMatch)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
