#pragma once
// Who is strongest: each pair of entrants (a team line, or one name) plays many silent team
// matches, half of them with each side as team 1, and the results give each entrant a strength
// on an Elo-like scale (app/bradley_terry.hpp). The report as text and CSV is in rank_report.hpp,
// as JSON and merged from shards in rank_json.hpp.
//
// The games of a run are numbered: pair p of the schedule plays games p*G ... p*G+G-1 (G games
// a pair), game q with seed S+q as `simulate` numbers its games, so that
//   simulate --seed S --first-game p*G --games H FIRST SECOND
//   simulate --seed S --first-game p*G+H --games G-H SECOND FIRST
// with H = G/2 rounded up give the pair's figures.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/simulate.hpp"
#include "modes/mode.hpp"

namespace morvane {

// A run as asked for. Its defaults are the command's: rank --help shows them from here.
struct RankConfig {
  Mode mode = Mode::TeamMatch;
  std::int64_t games = 1000;  // a pair
  std::uint32_t seed = 1;
  unsigned threads = 1;
  std::int64_t max_rounds = 10000;  // a battle still undecided then is cut
  // 0: every entrant meets every other; K: each meets K others drawn from the seed (K+1 when K
  // and the number of entrants are both odd).
  std::int32_t opponents = 0;
  // The pairs first_pair ... first_pair+pairs-1 of the schedule are played (pairs 0: all).
  std::int64_t first_pair = 0;
  std::int64_t pairs = 0;
  std::vector<std::string> entrants;  // each a line of '/'-separated names
};

// Limits on a run, checked before it starts.
inline constexpr std::int64_t kMaxEntrants = 100'000;
inline constexpr std::int64_t kMaxPairs = 5'000'000;  // a run's, or a merge's

// Why these entrants cannot be ranked (too few, too many, one empty, two the same lineup), in
// Chinese; empty when they can.
std::string entrants_fault(const std::vector<std::string>& entrants);

// Two entrants of a pair: `first` is team 1 in the first half of their games.
struct Pairing {
  std::int32_t first = 0, second = 0;
  friend bool operator==(const Pairing&, const Pairing&) = default;
};

// The pairs that meet, in order. Everyone against everyone: (0,1), (0,2) ... (1,2) ... in the
// order the entrants were given. K opponents: the entrants go round a circle in an order drawn
// from the seed, and each meets those K/2 steps of the circle away for K/2 step sizes: 1 (so that
// everyone is linked to everyone through others) and sizes drawn from the seed (so that few
// steps link anyone to anyone, and strengths far apart on the circle are well compared); for an
// odd K also the one half-way round (or a step of one more size, when the number of entrants is
// odd: then each meets K+1).
class Schedule {
 public:
  Schedule(std::int32_t entrants, std::int32_t opponents, std::uint32_t seed);
  std::int64_t size() const { return size_; }
  Pairing operator[](std::int64_t pair) const;

 private:
  std::int64_t entrants_;
  std::vector<std::int64_t> steps_;  // K opponents: the step sizes, a round of pairs each
  std::int64_t half_way_ = 0;        // the pairs of the last, half-way round
  std::int64_t size_ = 0;
  std::vector<std::int32_t> order_;  // K opponents: the entrants in the seed's order
};

// How a pair's games came out.
struct PairTally {
  std::int64_t games = 0, first_wins = 0, second_wins = 0;
  std::int64_t no_winner = 0;  // nobody left standing
  std::int64_t cut = 0;        // cut by the round cap
  std::int64_t draws() const { return no_winner + cut; }
  PairTally& operator+=(const PairTally& other);
};

// A range of pairs, [first, last] by index.
using PairRange = std::pair<std::int64_t, std::int64_t>;

struct RankReport {
  RankConfig config;  // pairs: those planned (the schedule's, from first_pair on)
  std::int64_t schedule_pairs = 0;
  std::vector<PairTally> tallies;  // pair config.first_pair + k at k
  std::int64_t played = 0;         // games finished: all of them unless interrupted
  double seconds = 0;
  // Set on a report merged from shards: how many, and the ranges of pairs they covered
  // (tallies then run from the first range's first pair to the last one's last).
  std::int64_t shards = 0;
  std::vector<PairRange> ranges;

  // The games of the pairs covered: all of them unless interrupted.
  std::int64_t planned() const;
  bool interrupted() const { return played < planned(); }
  double games_per_second() const;
  std::vector<PairRange> covered_ranges() const;
};

// Plays the pairs' games on config.threads threads (config.pairs must be set: the schedule's
// pairs from first_pair on, or fewer). `progress`, if set, is called from the calling thread
// now and then with the number of games done. When `stop` becomes true the games under way are
// given up and the rest are not played: the report has what was finished. The results do not
// depend on the thread count.
RankReport rank(const RankConfig& config,
                const std::function<void(std::int64_t done)>& progress = {},
                const std::atomic<bool>* stop = nullptr);

// Where each entrant stands.
struct Standing {
  std::int32_t entrant = 0;              // its index in config.entrants
  bool rated = false;                    // it played a game
  double rating = 0, low = 0, high = 0;  // on the Elo-like scale, with the 95% interval
  std::int64_t games = 0, wins = 0, losses = 0, draws = 0;
  double win_rate() const { return share(wins, games); }
};

// A pair whose result goes against the order: the lower-rated entrant scored more than half
// (a game neither won counting half).
struct Upset {
  std::int32_t winner = 0, loser = 0;  // the lower-rated entrant, the higher
  double winner_rating = 0, loser_rating = 0;
  std::int64_t winner_wins = 0, loser_wins = 0, draws = 0;
};

struct Ranking {
  std::vector<Standing> standings;  // best first; those that played no game last
  std::vector<Upset> upsets;        // the largest gap in rating first, at most kShownUpsets
  bool exact_intervals = true;      // see Strengths::exact_variance
  static constexpr std::size_t kShownUpsets = 10;
};
Ranking ranking(const RankReport& report);

}  // namespace morvane
