#include "odds/odds.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <string_view>

#include "mechanics/checks.hpp"
#include "modes/mode.hpp"
#include "modes/round.hpp"

namespace morvane::odds {
namespace {

// SplitMix64's finalizer: nearby inputs give unrelated outputs.
std::uint64_t mix(std::uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

std::string percent(std::int64_t part, std::int64_t whole) {
  const double p = whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
  return std::to_string(std::lround(100 * p)) + "%";
}

// A bar of `cells` character cells for a share, in eighths of a cell.
std::string bar(std::int64_t part, std::int64_t whole, int cells, bool ascii) {
  if (cells == 0 || whole <= 0) return {};
  const double p = static_cast<double>(part) / static_cast<double>(whole);
  std::string out;
  if (ascii) {
    out.assign(static_cast<std::size_t>(std::lround(p * cells)), '#');
    return out;
  }
  static constexpr std::array<std::string_view, 8> kEighths = {"",  "▏", "▎", "▍",
                                                               "▌", "▋", "▊", "▉"};
  const long eighths = std::lround(p * cells * 8);
  for (long k = 0; k < eighths / 8; ++k)
    out += "█";
  out += kEighths[static_cast<std::size_t>(eighths % 8)];
  return out;
}

// The side a decided continuation counts for, as the mode judges the battle: the team the game
// names, except in endless mode, where a level is won only by 你 (slot 1) standing at its end;
// when 你 has fallen it is lost, to the enemies, whoever else stands. 0: nobody wins.
std::int32_t judged_winner(const Game& c, Sides sides) {
  if (sides == Sides::Endless) return c.roster[1].hp > 0 ? 1 : 2;
  return winner(c);
}

// What the line calls team t.
std::string side_name(Sides sides, std::int32_t t) {
  if (sides == Sides::Endless && (t == 1 || t == 2)) return t == 1 ? "你" : "敌人";
  if (sides == Sides::Challenge && (t == 1 || t == 2)) return t == 1 ? "挑战者" : "作者";
  return "第" + std::to_string(t) + "队";
}

}  // namespace

Sides sides_of(const Game& g) {
  switch (static_cast<Mode>(g.mode)) {
    case Mode::Endless:
      return Sides::Endless;
    case Mode::AuthorChallenge:
      return Sides::Challenge;
    default:
      return Sides::Teams;
  }
}

std::uint32_t continuation_seed(std::uint32_t seed, std::int32_t round, std::int64_t index) {
  const std::uint64_t moment = (std::uint64_t{seed} << 32) | static_cast<std::uint32_t>(round);
  return static_cast<std::uint32_t>(
      mix(mix(moment) + static_cast<std::uint64_t>(index) * 0x9E3779B97F4A7C15u) >> 32);
}

Estimator::Estimator() : random_(0), scratch_(std::make_unique<Game>(console_, random_)) {
  // Nobody watches a continuation.
  scratch_->options.silent = true;
}

Estimate Estimator::start(const Game& g) const {
  Estimate e;
  e.sides = sides_of(g);
  // Every counted team in the roster, those already beaten too (at 0%).
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    const std::int32_t t = g.roster[i].team;
    if (t >= 1 && t <= g.counted_teams &&
        std::find(e.teams.begin(), e.teams.end(), t) == e.teams.end()) {
      e.teams.push_back(t);
    }
  }
  std::sort(e.teams.begin(), e.teams.end());
  e.wins.assign(e.teams.size(), 0);
  return e;
}

void Estimator::run_continuation(const Game& g, const BattleState& battle, std::uint32_t seed,
                                 Estimate& e) {
  Game& c = *scratch_;
  c.copy_state_from(g);
  random_.srand(seed);
  c.options.max_rounds = battle.rounds + kContinuationRounds;
  if (g.options.max_rounds > 0)
    c.options.max_rounds = std::min(c.options.max_rounds, g.options.max_rounds);
  const bool decided = resume_battle(c, battle);
  ++e.played;
  if (!decided) {
    ++e.undecided;
    return;
  }
  const std::int32_t t = judged_winner(c, e.sides);
  if (t == 0) {
    ++e.no_winner;
    return;
  }
  auto at = std::find(e.teams.begin(), e.teams.end(), t);
  if (at == e.teams.end()) {
    e.teams.push_back(t);
    e.wins.push_back(0);
    at = e.teams.end() - 1;
  }
  ++e.wins[static_cast<std::size_t>(at - e.teams.begin())];
}

Estimate Estimator::estimate(const Game& g, const BattleState& battle, std::uint32_t seed,
                             std::int64_t count) {
  return estimate_until(g, battle, seed, count, std::nullopt);
}

Estimate Estimator::estimate_for(const Game& g, const BattleState& battle, std::uint32_t seed,
                                 std::chrono::steady_clock::duration budget, std::int64_t most) {
  return estimate_until(g, battle, seed, most, std::chrono::steady_clock::now() + budget);
}

Estimate Estimator::estimate_until(const Game& g, const BattleState& battle, std::uint32_t seed,
                                   std::int64_t most,
                                   std::optional<std::chrono::steady_clock::time_point> until) {
  Estimate e = start(g);
  for (std::int64_t k = 0; k < most; ++k) {
    run_continuation(g, battle, continuation_seed(seed, g.round_count, k), e);
    if (until && std::chrono::steady_clock::now() >= *until) break;
  }
  return e;
}

std::string odds_line(const Estimate& e, bool ascii, bool verbose) {
  // Teams by their chances; past eight, the rest share one entry.
  std::vector<std::size_t> order(e.teams.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  constexpr std::size_t kShown = 8;
  std::int64_t rest = 0;
  std::size_t rest_teams = 0;
  if (order.size() > kShown) {
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return e.wins[x] > e.wins[y]; });
    for (std::size_t k = kShown - 1; k < order.size(); ++k)
      rest += e.wins[order[k]];
    rest_teams = order.size() - (kShown - 1);
    order.resize(kShown - 1);
    std::sort(order.begin(), order.end());
  }
  const int cells = order.size() <= 2 ? 10 : order.size() <= 4 ? 5 : 0;
  std::string line = "胜率";
  for (const std::size_t k : order) {
    // Piece by piece: GCC 12 warns wrongly about " " + a string's temporary at -O2 (-Wrestrict).
    line += ' ';
    line += side_name(e.sides, e.teams[k]);
    line += ' ';
    line += percent(e.wins[k], e.played);
    const std::string b = bar(e.wins[k], e.played, cells, ascii);
    if (!b.empty()) line += " " + b;
  }
  if (rest_teams > 0)
    line += " 其余" + std::to_string(rest_teams) + "队 " + percent(rest, e.played);
  if (e.no_winner > 0) line += " 无人生还 " + percent(e.no_winner, e.played);
  if (e.undecided > 0) line += " 未分胜负 " + percent(e.undecided, e.played);
  if (verbose) line += "（推演" + std::to_string(e.played) + "次）";
  return line;
}

OddsListener::OddsListener(Console& out, std::uint32_t seed, const Options& options)
    : out_(out), seed_(seed), options_(options) {}

void OddsListener::round_ended(const Game& g, const BattleState& battle) {
  // Skipping to a battle's end, the player sees its end at once, not estimates on the way.
  if (out_.hurrying()) return;
  const Estimate e = estimator_.estimate_for(g, battle, seed_, options_.budget, options_.most);
  // Grey, then back to the rules' colour 0: deleting this line leaves the game's own bytes.
  out_.color(7);
  out_.write(odds_line(e, options_.ascii, options_.verbose));
  out_.color(0);
  out_.endl();
  if (told_) told_(e);
}

}  // namespace morvane::odds
