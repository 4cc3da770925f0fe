#include "app/bradley_terry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace morvane {
namespace {

double chance(double x) {
  return 1 / (1 + std::exp(-x));
}

// Each pair of `pairs` plays `games` games between entrants of log strengths `truth`, drawn
// from a generator of `seed` (its own draws, the same on every platform).
std::vector<PairScore> played(const std::vector<double>& truth,
                              const std::vector<std::pair<int, int>>& pairs, int games,
                              unsigned seed) {
  std::mt19937 draws(seed);
  std::vector<PairScore> out;
  for (const auto& [a, b] : pairs) {
    const double p =
        chance(truth[static_cast<std::size_t>(a)] - truth[static_cast<std::size_t>(b)]);
    double score = 0;
    for (int k = 0; k < games; ++k)
      score += static_cast<double>(draws()) / 4294967296.0 < p ? 1 : 0;
    out.push_back({a, b, score, static_cast<double>(games)});
  }
  return out;
}

std::vector<std::pair<int, int>> everyone(int n) {
  std::vector<std::pair<int, int>> out;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      out.emplace_back(i, j);
  return out;
}

// `truth` with its average taken off, as the fit reports strengths.
std::vector<double> centred(std::vector<double> truth) {
  const double mean =
      std::accumulate(truth.begin(), truth.end(), 0.0) / static_cast<double>(truth.size());
  for (double& x : truth)
    x -= mean;
  return truth;
}

TEST(BradleyTerry, RecoversKnownStrengthsFromTheirExpectedResults) {
  const std::vector<double> truth = centred({-1.5, -0.3, 0, 0.4, 2.2});
  std::vector<PairScore> exact;
  for (const auto& [a, b] : everyone(5)) {
    const double games = 1e6;
    exact.push_back(
        {a, b,
         games * chance(truth[static_cast<std::size_t>(a)] - truth[static_cast<std::size_t>(b)]),
         games});
  }
  const Strengths s = fit_bradley_terry(5, exact);
  for (std::size_t i = 0; i < truth.size(); ++i)
    EXPECT_NEAR(s.log_strength[i], truth[i], 1e-4) << i;
}

TEST(BradleyTerry, TheTruthLiesWithinTheIntervalsAsOftenAsTheySay) {
  // Forty entrants, every pair 400 games, drawn at random: about 95% of the true strengths lie
  // within the intervals, and an entrant in a sparse ring of meetings is placed as well.
  std::vector<double> truth(40);
  for (std::size_t i = 0; i < truth.size(); ++i)
    truth[i] = -2 + 4.0 * static_cast<double>(i * 7 % 40) / 39;
  truth = centred(truth);
  int inside = 0, total = 0;
  for (unsigned seed = 1; seed <= 10; ++seed) {
    const Strengths s = fit_bradley_terry(40, played(truth, everyone(40), 400, seed));
    ASSERT_TRUE(s.exact_variance);
    for (std::size_t i = 0; i < truth.size(); ++i) {
      inside += std::abs(s.log_strength[i] - truth[i]) < 1.96 * std::sqrt(s.variance[i]);
      ++total;
    }
  }
  EXPECT_GT(inside, total * 90 / 100);
  EXPECT_LT(inside, total * 99 / 100);
}

TEST(BradleyTerry, TheFitDoesNotDependOnTheEntrantsOrder) {
  const std::vector<double> truth = centred({0.3, -0.8, 1.1, 0, -0.2, 0.5, -1});
  const std::vector<PairScore> results = played(truth, everyone(7), 300, 7);
  const Strengths s = fit_bradley_terry(7, results);
  std::vector<int> order = {4, 0, 6, 2, 1, 5, 3};  // entrant i becomes order[i]
  std::vector<PairScore> moved;
  for (const PairScore& p : results)
    moved.push_back({order[static_cast<std::size_t>(p.b)], order[static_cast<std::size_t>(p.a)],
                     p.games - p.score_a, p.games});
  std::reverse(moved.begin(), moved.end());
  const Strengths t = fit_bradley_terry(7, moved);
  for (std::size_t i = 0; i < 7; ++i) {
    const auto j = static_cast<std::size_t>(order[i]);
    EXPECT_NEAR(s.log_strength[i], t.log_strength[j], 1e-9) << i;
    EXPECT_NEAR(s.variance[i], t.variance[j], 1e-9) << i;
  }
}

TEST(BradleyTerry,
     AnUndefeatedEntrantIsStrongestWithAWideIntervalAndOneWhoNeverPlayedHasNoStrength) {
  // 0 beats 1 and 2 every time; 1 and 2 share their games; 3 never plays.
  const std::vector<PairScore> results = {{0, 1, 1000, 1000}, {2, 0, 0, 1000}, {1, 2, 500, 1000}};
  const Strengths s = fit_bradley_terry(4, results);
  EXPECT_TRUE(std::isfinite(s.log_strength[0]));
  EXPECT_GT(s.log_strength[0], s.log_strength[1] + 4);
  EXPECT_NEAR(s.log_strength[1], s.log_strength[2], 1e-9);
  // Far narrower for an entrant that lost one game in ten.
  const Strengths ninety =
      fit_bradley_terry(3, {{0, 1, 900, 1000}, {2, 0, 100, 1000}, {1, 2, 500, 1000}});
  EXPECT_GT(s.variance[0], 50 * ninety.variance[0]);
  EXPECT_EQ(s.played, (std::vector<bool>{true, true, true, false}));
  EXPECT_EQ(s.log_strength[3], 0);
  EXPECT_EQ(s.variance[3], 0);
  EXPECT_NEAR(s.log_strength[0] + s.log_strength[1] + s.log_strength[2], 0, 1e-9);
}

TEST(BradleyTerry, TwoEntrantsIntervalIsTheTextbooksForAShare) {
  // Between two entrants the difference of strengths is the log odds of the share, whose
  // variance is 1 / (n p q): each strength, less their average, has a quarter of it.
  const Strengths s = fit_bradley_terry(2, {{0, 1, 7000, 10000}});
  EXPECT_NEAR(s.log_strength[0] - s.log_strength[1], std::log(7000.0 / 3000.0), 1e-3);
  EXPECT_NEAR(s.variance[0], 1 / (4 * 10000 * 0.7 * 0.3), 1e-6);
  EXPECT_NEAR(elo(s.log_strength[0]) - elo(s.log_strength[1]), 400 * std::log10(7.0 / 3.0), 0.5);
}

TEST(BradleyTerry, ALargeFieldsIntervalsComeCloseToTheExactOnes) {
  // Each of 301 entrants meets ten others, as a schedule of ten opponents has them meet: what
  // the fit passes along the pairs comes close to the exact inverse.
  const int n = 301;
  std::vector<double> truth(static_cast<std::size_t>(n));
  for (std::size_t i = 0; i < truth.size(); ++i)
    truth[i] = std::sin(static_cast<double>(i));
  std::vector<std::pair<int, int>> pairs;
  for (int i = 0; i < n; ++i)
    for (const int d : {1, 97, 37, 140, 61})
      pairs.emplace_back(i, (i + d) % n);
  const std::vector<PairScore> results = played(centred(truth), pairs, 200, 3);
  const Strengths exact = fit_bradley_terry(n, results);
  const Strengths estimated = fit_bradley_terry(n, results, n - 1);
  ASSERT_TRUE(exact.exact_variance);
  ASSERT_FALSE(estimated.exact_variance);
  for (std::size_t i = 0; i < truth.size(); ++i) {
    EXPECT_EQ(estimated.log_strength[i], exact.log_strength[i]);
    EXPECT_NEAR(estimated.variance[i] / exact.variance[i], 1, 0.05) << i;
  }
}

}  // namespace
}  // namespace morvane
