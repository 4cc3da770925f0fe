#include "app/simulate.hpp"

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

namespace morvane {
namespace {

struct Tally {
  std::vector<std::int64_t> wins;
  std::int64_t played = 0, no_winner = 0, cut = 0, total_rounds = 0, most_rounds = 0;
};

// A game given up half-way because the run was asked to stop.
struct Stopped {};

// Looks at the stop flag at every round's end, so that a battle of millions of rounds does not
// hold up Ctrl-C: one relaxed load a round, next to nothing beside the round itself.
class StopCheck final : public RoundListener {
 public:
  explicit StopCheck(const std::atomic<bool>& stop) : stop_(stop) {}
  void round_ended(const Game&, const BattleState&) override {
    if (stop_.load(std::memory_order_relaxed)) throw Stopped{};
  }

 private:
  const std::atomic<bool>& stop_;
};

// One worker: its own game, reset between matches, so no game shares anything with another.
class Worker {
 public:
  Worker(const SimulationConfig& config, const std::atomic<bool>* stop)
      : config_(config), random_(0), game_(std::make_unique<Game>(console_, random_)) {
    tally_.wins.assign(config.lines.size(), 0);
    if (stop != nullptr) {
      stop_check_.emplace(*stop);
      game_->on_round_end = &*stop_check_;
    }
    for (const std::string& line : config.lines)
      teams_.push_back(split_team(line));
  }

  void run(std::int64_t i) {
    Game& g = *game_;
    g.reset();
    random_.srand(config_.seed + static_cast<std::uint32_t>(i));
    g.options.max_rounds = config_.max_rounds;
    // Or Stopped: then the game counts nowhere.
    const MatchOutcome match = silent_team_match(g, teams_, config_.mode);

    ++tally_.played;
    // A battle ends inside the round it is decided in, before the round counter moves on.
    const std::int64_t rounds = !match.decided    ? config_.max_rounds
                                : match.contested ? g.round_count
                                                  : 0;
    tally_.total_rounds += rounds;
    tally_.most_rounds = std::max(tally_.most_rounds, rounds);
    if (!match.decided) {
      ++tally_.cut;
      return;
    }
    const std::int32_t t = match.winner;
    if (t == 0) {
      ++tally_.no_winner;
    } else if (t <= static_cast<std::int32_t>(tally_.wins.size())) {
      ++tally_.wins[static_cast<std::size_t>(t - 1)];
    }
  }

  const Tally& tally() const { return tally_; }

 private:
  const SimulationConfig& config_;
  QuietConsole console_;
  Lcg random_;
  std::unique_ptr<Game> game_;
  std::optional<StopCheck> stop_check_;
  std::vector<std::vector<TeamMember>> teams_;  // the lines cut into names once
  Tally tally_;
};

// What the threads of one run share: the next batch of games to hand out, how many are done,
// and the report their figures are added to.
struct SharedRun {
  SharedRun(const SimulationConfig& asked, const std::atomic<bool>* stop_flag)
      : config(asked), stop(stop_flag) {
    report.config = config;
    report.wins.assign(config.lines.size(), 0);
  }

  bool stopped() const { return stop != nullptr && stop->load(std::memory_order_relaxed); }

  // One thread's part: batches of games until none is left or the run is stopped, then its
  // figures into the report.
  void work() {
    Worker worker(config, stop);
    // Games are handed out in small batches: one atomic step per batch, not per game.
    constexpr std::int64_t kBatch = 64;
    for (;;) {
      const std::int64_t first = next.fetch_add(kBatch);
      if (first >= config.games) break;
      const std::int64_t last = std::min(first + kBatch, config.games);
      std::int64_t i = first;
      try {
        for (; i < last && !stopped(); ++i)
          worker.run(config.first_game + i);
      } catch (const Stopped&) {
        // Game i is left unfinished.
      }
      done.fetch_add(i - first);
      if (i < last) break;
    }
    add(worker.tally());
  }

  void add(const Tally& t) {
    std::lock_guard lock(merge);
    for (std::size_t k = 0; k < t.wins.size(); ++k)
      report.wins[k] += t.wins[k];
    report.played += t.played;
    report.no_winner += t.no_winner;
    report.cut += t.cut;
    report.total_rounds += t.total_rounds;
    report.most_rounds = std::max(report.most_rounds, t.most_rounds);
  }

  const SimulationConfig& config;
  const std::atomic<bool>* stop;
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> done{0};
  std::mutex merge;
  SimulationReport report;
};

}  // namespace

double SimulationReport::games_per_second() const {
  return seconds > 0 ? static_cast<double>(played) / seconds : 0.0;
}

std::vector<GameRange> SimulationReport::covered_ranges() const {
  if (!ranges.empty()) return ranges;
  return {{config.first_game, config.first_game + played - 1}};
}

SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t)>& progress,
                          const std::atomic<bool>* stop) {
  const auto start = std::chrono::steady_clock::now();
  const unsigned threads =
      static_cast<unsigned>(std::clamp<std::int64_t>(config.threads, 1, config.games));
  SharedRun run(config, stop);
  run.report.config.threads = threads;
  const auto work = [&run] { run.work(); };
  std::vector<std::thread> workers;
  for (unsigned k = 1; k < threads; ++k)
    workers.emplace_back(work);
  if (progress) {
    // The calling thread reports progress while the workers play.
    std::thread last(work);
    while (run.done.load() < config.games && !run.stopped()) {
      progress(run.done.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    last.join();
    progress(run.done.load());
  } else {
    work();
  }
  for (std::thread& w : workers)
    w.join();

  run.report.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return std::move(run.report);
}

}  // namespace morvane
