#pragma once
// Strengths from the results of pairs, by the Bradley-Terry model: entrant i beats entrant j with
// probability s_i / (s_i + s_j). The strengths are those most likely to have given the results
// (the maximum-likelihood fit), found by Newton's method, with an interval for each.
//
// A game that neither side won (nobody left standing, or cut by the round cap) counts as half a
// win for each. Each entrant also counts as having drawn one game with an entrant of average
// strength: an entrant that won every game then has a finite strength (a large one), and
// entrants that never met, directly or through others, still get strengths on one scale. Beside
// the thousands of games a rank plays, that one game moves no strength by a rating point.

#include <cstdint>
#include <vector>

namespace morvane {

// One pair's results: a's score against b over `games` games (a win 1, a game neither won 1/2).
// A pair may appear more than once; its results add up.
struct PairScore {
  std::int32_t a = 0, b = 0;
  double score_a = 0;
  double games = 0;
};

// Strengths as log(s_i), with the average of the entrants that played set to 0. An entrant that
// played no game has none.
struct Strengths {
  std::vector<double> log_strength;
  std::vector<double> variance;  // of each log strength; 0 for an entrant that played no game
  std::vector<bool> played;
  // The variances come from the inverse of the whole information matrix, up to this many
  // entrants. Past it they are estimated by passing each entrant's uncertainty on to those it
  // met (Gaussian belief propagation): within a few percent with ten opponents each or more,
  // narrower with fewer.
  static constexpr std::int32_t kExactUpTo = 1000;
  bool exact_variance = true;
};

// `exact_up_to`: see Strengths::kExactUpTo.
Strengths fit_bradley_terry(std::int32_t entrants, const std::vector<PairScore>& pairs,
                            std::int32_t exact_up_to = Strengths::kExactUpTo);

// The Elo-like scale: 1500 for the average entrant, and 400 points for odds of 10 to 1.
double elo(double log_strength);
// A log strength's 95% interval on that scale is elo(x) -/+ this times its standard deviation.
double elo_half_width(double variance);

}  // namespace morvane
