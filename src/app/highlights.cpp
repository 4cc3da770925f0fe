#include "app/highlights.hpp"

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>

#include "app/batch_game.hpp"
#include "console/quiet_console.hpp"
#include "odds/odds.hpp"
#include "replay/answer_consoles.hpp"
#include "session/session.hpp"

namespace morvane {
namespace {

// Each team's lowest chance so far in a fight, and the round at whose end it was.
class ChanceWatcher final : public RoundListener {
 public:
  ChanceWatcher(std::size_t teams, std::int64_t continuations)
      : teams_(teams), continuations_(continuations) {}

  void begin(std::uint32_t seed) {
    seed_ = seed;
    lowest_.assign(teams_ + 1, 2.0);
    at_.assign(teams_ + 1, 0);
    wins_.assign(teams_ + 1, 0);
  }
  void round_ended(const Game& g, const BattleState& battle) override {
    if (battle.rounds > kJudgedRounds) return;
    const odds::Estimate e = estimator_.estimate(g, battle, seed_, continuations_);
    for (std::size_t k = 0; k < e.teams.size(); ++k) {
      const auto t = static_cast<std::size_t>(e.teams[k]);
      if (t >= lowest_.size()) continue;
      const double chance = static_cast<double>(e.wins[k]) / static_cast<double>(e.played);
      if (chance < lowest_[t]) {
        lowest_[t] = chance;
        at_[t] = battle.rounds;
        wins_[t] = e.wins[k];
      }
    }
  }
  // Whether team t's chance was estimated at all (the battle outlived a round).
  bool judged(std::int32_t t) const { return lowest_[static_cast<std::size_t>(t)] <= 1; }
  double lowest(std::int32_t t) const { return lowest_[static_cast<std::size_t>(t)]; }
  std::int64_t at(std::int32_t t) const { return at_[static_cast<std::size_t>(t)]; }
  std::int64_t wins(std::int32_t t) const { return wins_[static_cast<std::size_t>(t)]; }
  std::int64_t continuations() const { return continuations_; }

 private:
  std::size_t teams_;
  std::int64_t continuations_;
  std::uint32_t seed_ = 0;
  odds::Estimator estimator_;
  std::vector<double> lowest_;  // by team; above 1 while not estimated
  std::vector<std::int64_t> at_, wins_;
};

// Which of two fights comes first among the picks of a kind.
using Order = bool (*)(const Highlight&, const Highlight&);
bool bigger_comeback(const Highlight& x, const Highlight& y) {
  return x.lowest_chance != y.lowest_chance ? x.lowest_chance < y.lowest_chance : x.fight < y.fight;
}
bool closer_finish(const Highlight& x, const Highlight& y) {
  return x.hp_share() != y.hp_share() ? x.hp_share() < y.hp_share() : x.fight < y.fight;
}
bool longer(const Highlight& x, const Highlight& y) {
  return x.rounds != y.rounds ? x.rounds > y.rounds : x.fight < y.fight;
}

// Keeps the best `top` of a kind.
void keep(std::vector<Highlight>& picks, const Highlight& h, Order order, std::int64_t top) {
  const auto at = std::upper_bound(picks.begin(), picks.end(), h, order);
  if (at - picks.begin() >= top) return;
  picks.insert(at, h);
  if (static_cast<std::int64_t>(picks.size()) > top) picks.pop_back();
}

// One worker's fights and its picks.
class HighlightsWorker {
 public:
  HighlightsWorker(const HighlightsConfig& config, const Teams& teams,
                   const std::atomic<bool>* stop)
      : config_(config),
        teams_(teams),
        game_(stop),
        watcher_(teams.size(), config.continuations > 0 ? config.continuations : kContinuations) {}

  void play(std::int64_t i) {
    const std::uint32_t seed = config_.seed + static_cast<std::uint32_t>(i);
    watcher_.begin(seed);
    const BatchGame::Played p =
        game_.play(seed, teams_, config_.mode, config_.max_rounds, &watcher_);
    ++played;
    if (!p.match.decided) return;  // cut by the round cap
    Highlight h;
    h.fight = i;
    h.seed = seed;
    h.winner = p.match.winner;
    h.rounds = p.rounds;
    keep(longest, h, longer, config_.top);
    if (h.winner == 0) return;
    const Game& g = game_.game();
    for (std::int32_t slot = 1; slot < g.roster.next_slot(); ++slot) {
      const Fighter& x = g.roster[slot];
      if (x.team != h.winner) continue;
      h.full_hp += x.max_hp;
      if (x.hp > 0) {
        h.hp_left += x.hp;
        ++h.survivors;
      }
    }
    if (h.full_hp > 0) keep(closest, h, closer_finish, config_.top);
    if (watcher_.judged(h.winner)) {
      h.lowest_chance = watcher_.lowest(h.winner);
      h.lowest_round = watcher_.at(h.winner);
      h.lowest_wins = watcher_.wins(h.winner);
      h.continuations = watcher_.continuations();
      keep(comebacks, h, bigger_comeback, config_.top);
    }
  }

  std::int64_t played = 0;
  std::vector<Highlight> comebacks, closest, longest;

 private:
  const HighlightsConfig& config_;
  const Teams& teams_;
  BatchGame game_;
  ChanceWatcher watcher_;
};

// The replay code of fight `seed`, made as the game that a player plays with the same seed and
// answers makes it (empty when its narration is too long for a code).
std::string code_of(const HighlightsConfig& config, std::uint32_t seed) {
  std::vector<replay::Answer> answers = {
      replay::Answer::of_number(static_cast<std::int32_t>(config.mode)),
      replay::Answer::of_number(static_cast<std::int32_t>(config.lines.size()))};
  for (const std::string& line : config.lines)
    answers.push_back(replay::Answer::of_text(line));
  QuietConsole quiet;
  replay::AnswerPlayer player(quiet, std::move(answers));
  return session::play_recorded(player, seed, config.max_rounds).code;
}

}  // namespace

HighlightsReport highlights(const HighlightsConfig& config,
                            const std::function<void(std::int64_t)>& progress,
                            const std::atomic<bool>* stop) {
  const auto start = std::chrono::steady_clock::now();
  Teams teams;
  for (const std::string& line : config.lines)
    teams.push_back(split_team(line));
  // Fights with the odds take far longer than plain ones: small batches keep both threads busy
  // to the end, and the progress moving.
  const auto run = run_batches<HighlightsWorker>(
      config.fights, config.threads,
      [&] { return std::make_unique<HighlightsWorker>(config, teams, stop); }, progress, stop, 4);
  HighlightsReport report;
  report.config = config;
  report.config.threads = static_cast<unsigned>(run.workers.size());
  for (const auto& w : run.workers) {
    report.played += w->played;
    for (const Highlight& h : w->comebacks)
      keep(report.comebacks, h, bigger_comeback, config.top);
    for (const Highlight& h : w->closest)
      keep(report.closest, h, closer_finish, config.top);
    for (const Highlight& h : w->longest)
      keep(report.longest, h, longer, config.top);
  }
  std::map<std::int64_t, std::string> codes;  // a fight picked twice is recorded once
  for (auto* picks : {&report.comebacks, &report.closest, &report.longest}) {
    for (Highlight& h : *picks) {
      auto [at, fresh] = codes.try_emplace(h.fight);
      if (fresh) at->second = code_of(config, h.seed);
      h.code = at->second;
    }
  }
  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

}  // namespace morvane
