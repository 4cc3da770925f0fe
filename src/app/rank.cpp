#include "app/rank.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <utility>

#include "app/batch_game.hpp"
#include "app/bradley_terry.hpp"

namespace morvane {
namespace {

// SplitMix64: the same stream on every platform, unlike the standard library's distributions.
class SplitMix {
 public:
  explicit SplitMix(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }

 private:
  std::uint64_t state_;
};

// Everyone against everyone: the first entrant of pair p, whose pairs are those of rows
// 0 ... i-1 (n-1, n-2, ... of them) and then its own.
std::int64_t row_start(std::int64_t n, std::int64_t i) {
  return i * (2 * n - i - 1) / 2;
}
Pairing round_robin(std::int64_t n, std::int64_t p) {
  const double b = static_cast<double>(2 * n - 1);
  auto i = static_cast<std::int64_t>((b - std::sqrt(b * b - 8.0 * static_cast<double>(p))) / 2);
  i = std::clamp<std::int64_t>(i, 0, n - 2);
  while (i > 0 && row_start(n, i) > p)
    --i;
  while (i + 1 < n - 1 && row_start(n, i + 1) <= p)
    ++i;
  return {static_cast<std::int32_t>(i), static_cast<std::int32_t>(i + 1 + p - row_start(n, i))};
}

}  // namespace

Schedule::Schedule(std::int32_t entrants, std::int32_t opponents, std::uint32_t seed)
    : entrants_(entrants) {
  if (opponents == 0) {
    size_ = entrants_ * (entrants_ - 1) / 2;
    return;
  }
  std::int64_t rounds = opponents / 2;
  if (opponents % 2 != 0) {
    if (entrants_ % 2 == 0) {
      half_way_ = entrants_ / 2;
    } else {
      ++rounds;
    }
  }
  // The stream of the seed's own draws: the order round the circle (Fisher-Yates), then the step
  // sizes, each of 2 ... (n-1)/2 at most once (the first draws of a Fisher-Yates over them).
  SplitMix stream((std::uint64_t{seed} << 32) ^ 0x72616E6B);  // "rank"
  order_.resize(static_cast<std::size_t>(entrants));
  std::iota(order_.begin(), order_.end(), 0);
  for (std::size_t i = order_.size(); i > 1; --i)
    std::swap(order_[i - 1], order_[stream.next() % i]);
  std::vector<std::int64_t> sizes(static_cast<std::size_t>((entrants_ - 1) / 2));
  std::iota(sizes.begin(), sizes.end(), 1);
  for (std::size_t k = 1; k < static_cast<std::size_t>(rounds); ++k)
    std::swap(sizes[k], sizes[k + stream.next() % (sizes.size() - k)]);
  steps_.assign(sizes.begin(), sizes.begin() + rounds);
  size_ = rounds * entrants_ + half_way_;
}

Pairing Schedule::operator[](std::int64_t pair) const {
  if (order_.empty()) return round_robin(entrants_, pair);
  const auto round = static_cast<std::size_t>(pair / entrants_);
  const std::int64_t i = pair % entrants_;
  const std::int64_t step = round < steps_.size() ? steps_[round] : entrants_ / 2;
  return {order_[static_cast<std::size_t>(i)],
          order_[static_cast<std::size_t>((i + step) % entrants_)]};
}

std::string entrants_fault(const std::vector<std::string>& entrants) {
  if (entrants.size() < 2) return "至少要两个参赛者：每个是一行用 / 隔开的名字，或一个名字";
  if (entrants.size() > static_cast<std::size_t>(kMaxEntrants))
    return "最多" + std::to_string(kMaxEntrants) + "个参赛者";
  std::map<std::string_view, std::size_t> seen;
  for (std::size_t k = 0; k < entrants.size(); ++k) {
    if (entrants[k].empty()) return "第" + std::to_string(k + 1) + "个参赛者是空的";
    const auto [at, fresh] = seen.emplace(entrants[k], k);
    if (!fresh) {
      return "第" + std::to_string(at->second + 1) + "个和第" + std::to_string(k + 1) +
             "个参赛者是同一个阵容";
    }
  }
  return {};
}

PairTally& PairTally::operator+=(const PairTally& other) {
  games += other.games;
  first_wins += other.first_wins;
  second_wins += other.second_wins;
  no_winner += other.no_winner;
  cut += other.cut;
  return *this;
}

double RankReport::games_per_second() const {
  return seconds > 0 ? static_cast<double>(played) / seconds : 0.0;
}

std::int64_t RankReport::planned() const {
  std::int64_t pairs = 0;
  for (const PairRange& r : covered_ranges())
    pairs += r.second - r.first + 1;
  return pairs * config.games;
}

std::vector<PairRange> RankReport::covered_ranges() const {
  if (!ranges.empty()) return ranges;
  return {{config.first_pair, config.first_pair + config.pairs - 1}};
}

namespace {

// The games a pair plays with its first entrant as team 1: half of them, rounded up.
std::int64_t first_half(std::int64_t games) {
  return (games + 1) / 2;
}

// One worker's games. What it counts of a pair goes into the run's table whenever it moves on
// to another pair, and when it is done (flush()).
class RankWorker {
 public:
  RankWorker(const RankConfig& config, const Schedule& schedule, const Teams& lines,
             std::vector<PairTally>& table, std::mutex& table_lock, const std::atomic<bool>* stop)
      : config_(config),
        schedule_(schedule),
        lines_(lines),
        table_(table),
        table_lock_(table_lock),
        game_(stop) {}

  // Game i of the run.
  void play(std::int64_t i) {
    const std::int64_t q = config_.first_pair * config_.games + i;
    const std::int64_t pair = q / config_.games;
    const bool swapped = q % config_.games >= first_half(config_.games);
    if (pair != pair_ || swapped != swapped_) take_sides(pair, swapped);
    const BatchGame::Played p = game_.play(config_.seed + static_cast<std::uint32_t>(q), teams_,
                                           config_.mode, config_.max_rounds);
    ++tally_.games;
    if (!p.match.decided) {
      ++tally_.cut;
    } else if (p.match.winner == 0) {
      ++tally_.no_winner;
    } else if ((p.match.winner == 1) != swapped) {
      ++tally_.first_wins;
    } else {
      ++tally_.second_wins;
    }
  }

  void flush() {
    if (tally_.games == 0) return;
    std::lock_guard lock(table_lock_);
    table_[static_cast<std::size_t>(pair_ - config_.first_pair)] += tally_;
    tally_ = {};
  }

 private:
  void take_sides(std::int64_t pair, bool swapped) {
    if (pair != pair_) flush();
    pair_ = pair;
    swapped_ = swapped;
    const Pairing p = schedule_[pair];
    const auto one = static_cast<std::size_t>(swapped ? p.second : p.first);
    const auto two = static_cast<std::size_t>(swapped ? p.first : p.second);
    teams_ = {lines_[one], lines_[two]};
  }

  const RankConfig& config_;
  const Schedule& schedule_;
  const Teams& lines_;  // each entrant's line cut into names
  std::vector<PairTally>& table_;
  std::mutex& table_lock_;
  BatchGame game_;
  std::int64_t pair_ = -1;
  bool swapped_ = false;
  Teams teams_;
  PairTally tally_;
};

}  // namespace

RankReport rank(const RankConfig& config, const std::function<void(std::int64_t)>& progress,
                const std::atomic<bool>* stop) {
  const auto start = std::chrono::steady_clock::now();
  const Schedule schedule(static_cast<std::int32_t>(config.entrants.size()), config.opponents,
                          config.seed);
  Teams lines;
  for (const std::string& entrant : config.entrants)
    lines.push_back(split_team(entrant));
  RankReport report;
  report.config = config;
  report.schedule_pairs = schedule.size();
  report.tallies.assign(static_cast<std::size_t>(config.pairs), {});
  std::mutex table_lock;
  auto run = run_batches<RankWorker>(
      config.pairs * config.games, config.threads,
      [&] {
        return std::make_unique<RankWorker>(config, schedule, lines, report.tallies, table_lock,
                                            stop);
      },
      progress, stop);
  for (const auto& worker : run.workers)
    worker->flush();
  report.config.threads = static_cast<unsigned>(run.workers.size());
  report.played = run.done;
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

namespace {

// Each entrant's games, wins, losses and games neither side won.
std::vector<Standing> records(const RankReport& report, const Schedule& schedule) {
  std::vector<Standing> out(report.config.entrants.size());
  for (std::size_t k = 0; k < out.size(); ++k)
    out[k].entrant = static_cast<std::int32_t>(k);
  for (std::size_t k = 0; k < report.tallies.size(); ++k) {
    const PairTally& t = report.tallies[k];
    if (t.games == 0) continue;
    const Pairing p = schedule[report.config.first_pair + static_cast<std::int64_t>(k)];
    Standing& a = out[static_cast<std::size_t>(p.first)];
    Standing& b = out[static_cast<std::size_t>(p.second)];
    a.games += t.games;
    b.games += t.games;
    a.wins += t.first_wins;
    b.wins += t.second_wins;
    a.losses += t.second_wins;
    b.losses += t.first_wins;
    a.draws += t.draws();
    b.draws += t.draws();
  }
  return out;
}

// The pairs that most go against the ratings.
std::vector<Upset> upsets(const RankReport& report, const Schedule& schedule,
                          const std::vector<Standing>& by_entrant) {
  std::vector<Upset> out;
  for (std::size_t k = 0; k < report.tallies.size(); ++k) {
    const PairTally& t = report.tallies[k];
    if (t.games == 0) continue;
    const Pairing p = schedule[report.config.first_pair + static_cast<std::int64_t>(k)];
    const Standing& a = by_entrant[static_cast<std::size_t>(p.first)];
    const Standing& b = by_entrant[static_cast<std::size_t>(p.second)];
    // Each side's score over the pair's games, doubled: a game neither won is 1 for each.
    const std::int64_t a_score = 2 * t.first_wins + t.draws(),
                       b_score = 2 * t.second_wins + t.draws();
    if (a.rating < b.rating && a_score > b_score) {
      out.push_back(
          {a.entrant, b.entrant, a.rating, b.rating, t.first_wins, t.second_wins, t.draws()});
    } else if (b.rating < a.rating && b_score > a_score) {
      out.push_back(
          {b.entrant, a.entrant, b.rating, a.rating, t.second_wins, t.first_wins, t.draws()});
    }
  }
  std::stable_sort(out.begin(), out.end(), [](const Upset& x, const Upset& y) {
    return x.loser_rating - x.winner_rating > y.loser_rating - y.winner_rating;
  });
  if (out.size() > Ranking::kShownUpsets) out.resize(Ranking::kShownUpsets);
  return out;
}

}  // namespace

Ranking ranking(const RankReport& report) {
  const RankConfig& c = report.config;
  const Schedule schedule(static_cast<std::int32_t>(c.entrants.size()), c.opponents, c.seed);
  std::vector<PairScore> scores;
  for (std::size_t k = 0; k < report.tallies.size(); ++k) {
    const PairTally& t = report.tallies[k];
    if (t.games == 0) continue;
    const Pairing p = schedule[c.first_pair + static_cast<std::int64_t>(k)];
    scores.push_back({p.first, p.second,
                      static_cast<double>(t.first_wins) + 0.5 * static_cast<double>(t.draws()),
                      static_cast<double>(t.games)});
  }
  const Strengths fit = fit_bradley_terry(static_cast<std::int32_t>(c.entrants.size()), scores);
  std::vector<Standing> by_entrant = records(report, schedule);
  for (std::size_t k = 0; k < by_entrant.size(); ++k) {
    Standing& s = by_entrant[k];
    s.rated = fit.played[k];
    if (!s.rated) continue;
    s.rating = elo(fit.log_strength[k]);
    const double half = elo_half_width(fit.variance[k]);
    s.low = s.rating - half;
    s.high = s.rating + half;
  }
  Ranking r;
  r.exact_intervals = fit.exact_variance;
  r.upsets = upsets(report, schedule, by_entrant);
  r.standings = std::move(by_entrant);
  std::stable_sort(r.standings.begin(), r.standings.end(),
                   [](const Standing& x, const Standing& y) {
                     if (x.rated != y.rated) return x.rated;
                     return x.rating > y.rating;
                   });
  return r;
}

}  // namespace morvane
