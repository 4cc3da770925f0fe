#include "app/simulate.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "console/quiet_console.hpp"
#include "mechanics/checks.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

namespace morvane {
namespace {

struct Tally {
  std::vector<std::int64_t> wins;
  std::int64_t no_winner = 0, cut = 0, total_rounds = 0, most_rounds = 0;
};

// One worker: its own game, reset between matches, so no game shares anything with another.
class Player {
 public:
  explicit Player(const SimulationConfig& config)
      : config_(config), random_(0), game_(std::make_unique<Game>(console_, random_)) {
    tally_.wins.assign(config.lines.size(), 0);
  }

  void play(std::int64_t i) {
    Game& g = *game_;
    g.reset();
    random_.srand(config_.seed + static_cast<std::uint32_t>(i));
    g.n = static_cast<std::int32_t>(config_.lines.size());
    for (std::int32_t t = 1; t <= g.n; ++t) {
      add_team(g, t, config_.lines[static_cast<std::size_t>(t - 1)], config_.mode);
    }
    if (config_.mode == 2) dark_match(g);
    g.max_rounds = config_.max_rounds;

    const bool started = !checkwin(g);
    const bool decided = game(g);
    // A battle ends inside the round it is decided in, before the round counter moves on.
    const std::int64_t rounds = !decided ? config_.max_rounds : started ? g.hhs : 0;
    tally_.total_rounds += rounds;
    tally_.most_rounds = std::max(tally_.most_rounds, rounds);
    if (!decided) {
      ++tally_.cut;
      return;
    }
    for (std::int32_t t = 1; t <= g.n; ++t) {
      if (g.chrs[t] > 0) {
        if (t <= static_cast<std::int32_t>(tally_.wins.size())) {
          ++tally_.wins[static_cast<std::size_t>(t - 1)];
        }
        return;
      }
    }
    ++tally_.no_winner;
  }

  const Tally& tally() const { return tally_; }

 private:
  const SimulationConfig& config_;
  QuietConsole console_;
  Lcg random_;
  std::unique_ptr<Game> game_;
  Tally tally_;
};

std::string percent(double share) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%", 100.0 * share);
  return buf;
}

std::string fixed(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, value);
  return buf;
}

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

}  // namespace

double SimulationReport::mean_rounds() const {
  return config.games > 0 ? static_cast<double>(total_rounds) / static_cast<double>(config.games)
                          : 0.0;
}

double SimulationReport::games_per_second() const {
  return seconds > 0 ? static_cast<double>(config.games) / seconds : 0.0;
}

Interval wilson(std::int64_t successes, std::int64_t trials) {
  if (trials <= 0) return {0, 0};
  const double z = 1.959963984540054;
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(successes) / n;
  const double denominator = 1 + z * z / n;
  const double centre = (p + z * z / (2 * n)) / denominator;
  const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t)>& progress) {
  const auto start = std::chrono::steady_clock::now();
  const unsigned threads =
      static_cast<unsigned>(std::clamp<std::int64_t>(config.threads, 1, config.games));
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> done{0};
  std::mutex merge;
  SimulationReport report;
  report.config = config;
  report.config.threads = threads;
  report.wins.assign(config.lines.size(), 0);

  auto work = [&] {
    Player player(config);
    // Games are handed out in small batches: one atomic step per batch, not per game.
    constexpr std::int64_t kBatch = 64;
    for (;;) {
      const std::int64_t first = next.fetch_add(kBatch);
      if (first >= config.games) break;
      const std::int64_t last = std::min(first + kBatch, config.games);
      for (std::int64_t i = first; i < last; ++i)
        player.play(i);
      done.fetch_add(last - first);
    }
    const Tally& t = player.tally();
    std::lock_guard lock(merge);
    for (std::size_t k = 0; k < t.wins.size(); ++k)
      report.wins[k] += t.wins[k];
    report.no_winner += t.no_winner;
    report.cut += t.cut;
    report.total_rounds += t.total_rounds;
    report.most_rounds = std::max(report.most_rounds, t.most_rounds);
  };

  std::vector<std::thread> workers;
  for (unsigned k = 1; k < threads; ++k)
    workers.emplace_back(work);
  if (progress) {
    // The calling thread reports progress while the workers play.
    std::thread last(work);
    while (done.load() < config.games) {
      progress(done.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    last.join();
    progress(done.load());
  } else {
    work();
  }
  for (std::thread& w : workers)
    w.join();

  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

std::string format_report(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out = "模拟了" + std::to_string(c.games) + "局" +
                    (c.mode == 2 ? "疯狂阿瓦达模式" : "正常模式") + "（种子" +
                    std::to_string(c.seed) + "起，" + std::to_string(c.threads) + "个线程）\n";
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    const Interval ci = wilson(r.wins[k], c.games);
    out += "第" + std::to_string(k + 1) + "队 " + c.lines[k] + "：胜" + std::to_string(r.wins[k]) +
           "局，胜率" + percent(static_cast<double>(r.wins[k]) / static_cast<double>(c.games)) +
           "（95%置信区间 " + percent(ci.low) + " ~ " + percent(ci.high) + "）\n";
  }
  out += "无人生还：" + std::to_string(r.no_winner) + "局\n";
  out += "超过" + std::to_string(c.max_rounds) + "回合未分胜负：" + std::to_string(r.cut) + "局\n";
  out += "平均回合数：" + fixed(r.mean_rounds(), 2) + "，最多：" + std::to_string(r.most_rounds) +
         "回合\n";
  out +=
      "速度：每秒" + fixed(r.games_per_second(), 0) + "局（用时" + fixed(r.seconds, 3) + "秒）\n";
  return out;
}

std::string format_json(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out =
      "{\"mode\":" + std::to_string(c.mode) + ",\"games\":" + std::to_string(c.games) +
      ",\"seed\":" + std::to_string(c.seed) + ",\"threads\":" + std::to_string(c.threads) +
      ",\"max_rounds\":" + std::to_string(c.max_rounds) + ",\"teams\":[";
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    const Interval ci = wilson(r.wins[k], c.games);
    if (k != 0) out += ",";
    out += "{\"team\":" + std::to_string(k + 1) + ",\"line\":" + json_string(c.lines[k]) +
           ",\"wins\":" + std::to_string(r.wins[k]) + ",\"win_rate\":" +
           fixed(static_cast<double>(r.wins[k]) / static_cast<double>(c.games), 6) +
           ",\"ci95_low\":" + fixed(ci.low, 6) + ",\"ci95_high\":" + fixed(ci.high, 6) + "}";
  }
  out += "],\"no_winner\":" + std::to_string(r.no_winner) + ",\"cut\":" + std::to_string(r.cut) +
         ",\"mean_rounds\":" + fixed(r.mean_rounds(), 4) +
         ",\"most_rounds\":" + std::to_string(r.most_rounds) +
         ",\"games_per_second\":" + fixed(r.games_per_second(), 1) +
         ",\"seconds\":" + fixed(r.seconds, 4) + "}\n";
  return out;
}

}  // namespace morvane
