#include "app/simulate.hpp"

#include <algorithm>
#include <chrono>
#include <memory>

#include "app/batch_game.hpp"

namespace morvane {
namespace {

// One worker's games and what it counted.
class Worker {
 public:
  Worker(const SimulationConfig& config, const std::atomic<bool>* stop)
      : config_(config), game_(stop) {
    wins.assign(config.lines.size(), 0);
    for (const std::string& line : config.lines)
      teams_.push_back(split_team(line));
  }

  // Game i of the run; or Stopped, and then it counts nowhere.
  void play(std::int64_t i) {
    const BatchGame::Played p =
        game_.play(config_.seed + static_cast<std::uint32_t>(config_.first_game + i), teams_,
                   config_.mode, config_.max_rounds);
    ++played;
    total_rounds += p.rounds;
    most_rounds = std::max(most_rounds, p.rounds);
    if (!p.match.decided) {
      ++cut;
      return;
    }
    const std::int32_t t = p.match.winner;
    if (t == 0) {
      ++no_winner;
    } else if (t <= static_cast<std::int32_t>(wins.size())) {
      ++wins[static_cast<std::size_t>(t - 1)];
    }
  }

  std::vector<std::int64_t> wins;  // wins[t-1] for team t
  std::int64_t played = 0, no_winner = 0, cut = 0, total_rounds = 0, most_rounds = 0;

 private:
  const SimulationConfig& config_;
  BatchGame game_;
  Teams teams_;  // the lines cut into names once
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
  SimulationReport report;
  report.config = config;
  report.wins.assign(config.lines.size(), 0);
  const auto run = run_batches<Worker>(
      config.games, config.threads,
      [&config, stop] { return std::make_unique<Worker>(config, stop); }, progress, stop);
  report.config.threads = static_cast<unsigned>(run.workers.size());
  for (const auto& w : run.workers) {
    for (std::size_t k = 0; k < w->wins.size(); ++k)
      report.wins[k] += w->wins[k];
    report.played += w->played;
    report.no_winner += w->no_winner;
    report.cut += w->cut;
    report.total_rounds += w->total_rounds;
    report.most_rounds = std::max(report.most_rounds, w->most_rounds);
  }
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

}  // namespace morvane
