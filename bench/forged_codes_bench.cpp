// What refusing a code costs at worst: codes whose fights narrate past the byte budget, checked
// by playing them through until they do. Each is a few dozen characters.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/replay_code.hpp"
#include "session/session.hpp"

namespace {

using namespace morvane;
using replay::Answer;

// Ten one-fighter teams whose summons block each other: a battle without end, unless capped.
replay::Fight never_ending(std::int64_t cap) {
  replay::Fight fight{9105, cap, {Answer::of_number(1), Answer::of_number(10)}, 12345};
  for (char name = 'a'; name <= 'j'; ++name)
    fight.answers.push_back(Answer::of_text(std::string(1, name)));
  return fight;
}

std::string forged(std::int64_t kind) {
  switch (kind) {
    case 0:  // a real game's code: a name of 100 KB, 18,883 rounds, 4.1 GB of narration
      return "MV1-Aa-NBu-2lBoA2SpekAQIwZoMUQCNjQYgA2LJvLzK";
    case 1:  // a name of almost a megabyte, and a digest made up
      return replay::encode(
          {3,
           100000,
           {Answer::of_number(1), Answer::of_number(2),
            Answer::of_text(std::string(replay::kMaxPlainSize - 64, 'x')), Answer::of_text("b")},
           1});
    case 2:
      return replay::encode(never_ending(0));
    default:
      return replay::encode(never_ending(std::int64_t{1} << 40));
  }
}

void BM_RefuseForgedCode(benchmark::State& state) {
  const std::string code = forged(state.range(0));
  for (auto _ : state) {
    const session::Loaded loaded = session::load(code);
    if (loaded.fight) std::abort();  // every one of them is too long
    benchmark::DoNotOptimize(loaded.message.data());
  }
}
BENCHMARK(BM_RefuseForgedCode)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
