#pragma once
// What simulate, rank and highlights share: a worker's silent game, played again and again with
// fresh seeds, and the indices of a run's games handed out to several threads.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

namespace morvane {

// A game given up half-way because the run was asked to stop.
struct Stopped {};

// Looks at the stop flag at every round's end, so that a battle of millions of rounds does not
// hold up Ctrl-C: one relaxed load a round, next to nothing beside the round itself. Then tells
// `next`, if any.
class StopCheck final : public RoundListener {
 public:
  explicit StopCheck(const std::atomic<bool>& stop) : stop_(stop) {}
  void round_ended(const Game& g, const BattleState& battle) override {
    if (stop_.load(std::memory_order_relaxed)) throw Stopped{};
    if (next != nullptr) next->round_ended(g, battle);
  }
  RoundListener* next = nullptr;

 private:
  const std::atomic<bool>& stop_;
};

// The teams of a match, each a line cut into names once.
using Teams = std::vector<std::vector<TeamMember>>;

// One worker's game, reset between matches, so no game shares anything with another.
class BatchGame {
 public:
  // `stop`, if given, is looked at every round (see StopCheck).
  explicit BatchGame(const std::atomic<bool>* stop);

  struct Played {
    MatchOutcome match;
    // A battle ends inside the round it is decided in, before the round counter moves on: the
    // rounds it took, the cap for one the cap cut, 0 for one decided before it began.
    std::int64_t rounds = 0;
  };
  // The silent team match of `teams` with seed `seed` (the game `morvane --seed` shows with the
  // same lines). `watcher`, if given, is told of every round's end. Throws Stopped when the run
  // is asked to stop.
  Played play(std::uint32_t seed, const Teams& teams, Mode mode, std::int64_t max_rounds,
              RoundListener* watcher = nullptr);
  // The game as the last match left it.
  const Game& game() const { return *game_; }

 private:
  QuietConsole console_;
  Lcg random_;
  std::unique_ptr<Game> game_;  // large: kept off the stack
  std::optional<StopCheck> stop_check_;
};

// Hands the indices 0 ... total-1 out in batches of `batch` to `threads` threads (at most one
// per index), each with a worker of its own from make_worker(), whose play(i) plays index i: a
// Stopped thrown from it gives index i up. `progress`, if set, is called from the calling thread
// now and then with the number of indices done. Once `stop` is true no index is begun. Returns
// the workers, for what they counted, once every thread has ended, and the indices done.
template <class Worker>
struct BatchResult {
  std::vector<std::unique_ptr<Worker>> workers;
  std::int64_t done = 0;
};

template <class Worker>
BatchResult<Worker> run_batches(std::int64_t total, unsigned threads,
                                const std::function<std::unique_ptr<Worker>()>& make_worker,
                                const std::function<void(std::int64_t done)>& progress,
                                const std::atomic<bool>* stop, std::int64_t batch = 64) {
  const auto count = static_cast<unsigned>(std::clamp<std::int64_t>(threads, 1, total));
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> done{0};
  const auto stopped = [stop] { return stop != nullptr && stop->load(std::memory_order_relaxed); };
  BatchResult<Worker> result;
  result.workers.resize(count);
  // Each thread fills its own slot; the slots are read once every thread has been joined.
  auto work = [&](std::unique_ptr<Worker>& slot) {
    slot = make_worker();
    // One atomic step per batch, not per index.
    for (;;) {
      const std::int64_t first = next.fetch_add(batch);
      if (first >= total) break;
      const std::int64_t last = std::min(first + batch, total);
      std::int64_t i = first;
      try {
        for (; i < last && !stopped(); ++i)
          slot->play(i);
      } catch (const Stopped&) {
        // Index i is left unfinished.
      }
      done.fetch_add(i - first);
      if (i < last) break;
    }
  };
  std::vector<std::thread> others;
  for (unsigned k = 1; k < count; ++k)
    others.emplace_back(work, std::ref(result.workers[k]));
  if (progress) {
    // The calling thread reports progress while the workers play.
    std::thread last(work, std::ref(result.workers[0]));
    while (done.load() < total && !stopped()) {
      progress(done.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    last.join();
    progress(done.load());
  } else {
    work(result.workers[0]);
  }
  for (std::thread& t : others)
    t.join();
  result.done = done.load();
  return result;
}

}  // namespace morvane
