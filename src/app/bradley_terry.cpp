#include "app/bradley_terry.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numbers>

namespace morvane {
namespace {

// log(1 + e^x) without overflow.
double log1pexp(double x) {
  return x > 0 ? x + std::log1p(std::exp(-x)) : std::log1p(std::exp(x));
}

// The chance that a side of log strength x beats one of 0.
double chance(double x) {
  return x >= 0 ? 1 / (1 + std::exp(-x)) : std::exp(x) / (1 + std::exp(x));
}

using Vector = std::vector<double>;

double dot(const Vector& x, const Vector& y) {
  double sum = 0;
  for (std::size_t i = 0; i < x.size(); ++i)
    sum += x[i] * y[i];
  return sum;
}

// The results to fit: the pairs that played, and the game with an average entrant that each
// entrant that played is counted as having drawn.
class Problem {
 public:
  Problem(std::int32_t entrants, const std::vector<PairScore>& pairs)
      : n_(static_cast<std::size_t>(entrants)), played_(n_, false) {
    for (const PairScore& p : pairs) {
      if (p.games <= 0 || p.a == p.b) continue;
      pairs_.push_back(p);
      played_[static_cast<std::size_t>(p.a)] = played_[static_cast<std::size_t>(p.b)] = true;
    }
  }

  std::size_t size() const { return n_; }
  const std::vector<bool>& played() const { return played_; }

  // The log-likelihood of the results at log strengths `x`.
  double log_likelihood(const Vector& x) const {
    double sum = 0;
    for (const PairScore& p : pairs_) {
      const double d = at(x, p.a) - at(x, p.b);
      sum -= p.score_a * log1pexp(-d) + (p.games - p.score_a) * log1pexp(d);
    }
    for (std::size_t i = 0; i < n_; ++i) {
      if (played_[i]) sum -= 0.5 * (log1pexp(-x[i]) + log1pexp(x[i]));
    }
    return sum;
  }

  // The gradient of the log-likelihood at `x`, and the weights of its negated Hessian: per pair,
  // and per entrant for its game with the average entrant.
  void derivatives(const Vector& x, Vector& gradient, Vector& pair_weight,
                   Vector& own_weight) const {
    gradient.assign(n_, 0);
    pair_weight.assign(pairs_.size(), 0);
    own_weight.assign(n_, 0);
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
      const PairScore& p = pairs_[k];
      const double c = chance(at(x, p.a) - at(x, p.b));
      const double g = p.score_a - p.games * c;
      gradient[static_cast<std::size_t>(p.a)] += g;
      gradient[static_cast<std::size_t>(p.b)] -= g;
      pair_weight[k] = p.games * c * (1 - c);
    }
    for (std::size_t i = 0; i < n_; ++i) {
      // One that played no game has a row of its own, and stays where it is.
      if (!played_[i]) {
        own_weight[i] = 1;
        continue;
      }
      const double c = chance(x[i]);
      gradient[i] += 0.5 - c;
      own_weight[i] = c * (1 - c);
    }
  }

  // The negated Hessian times v, with the weights of derivatives().
  Vector times(const Vector& pair_weight, const Vector& own_weight, const Vector& v) const {
    Vector out(n_, 0);
    for (std::size_t i = 0; i < n_; ++i)
      out[i] = own_weight[i] * v[i];
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
      const auto a = static_cast<std::size_t>(pairs_[k].a),
                 b = static_cast<std::size_t>(pairs_[k].b);
      const double f = pair_weight[k] * (v[a] - v[b]);
      out[a] += f;
      out[b] -= f;
    }
    return out;
  }

  // The diagonal of the negated Hessian.
  Vector diagonal(const Vector& pair_weight, const Vector& own_weight) const {
    Vector d = own_weight;
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
      d[static_cast<std::size_t>(pairs_[k].a)] += pair_weight[k];
      d[static_cast<std::size_t>(pairs_[k].b)] += pair_weight[k];
    }
    return d;
  }

  // Each entrant's variance by Gaussian belief propagation over the graph of pairs: exact where
  // the pairs form no loop, and close where the loops are long (as in a large schedule of few
  // opponents each), where the inverse of the diagonal alone would leave out how uncertain the
  // opponents' own strengths are. The messages are precisions, one each way of every pair.
  Vector propagated_variance(const Vector& pair_weight, const Vector& own_weight) const {
    const Vector diagonal = this->diagonal(pair_weight, own_weight);
    Vector to_b(pairs_.size(), 0), to_a(pairs_.size(), 0), incoming(n_, 0);
    for (int round = 0; round < 500; ++round) {
      double change = 0;
      for (std::size_t k = 0; k < pairs_.size(); ++k) {
        const auto a = static_cast<std::size_t>(pairs_[k].a),
                   b = static_cast<std::size_t>(pairs_[k].b);
        const double w = pair_weight[k];
        const double ab = -w * w / (diagonal[a] + incoming[a] - to_a[k]);
        const double ba = -w * w / (diagonal[b] + incoming[b] - to_b[k]);
        change = std::max({change, std::abs(ab - to_b[k]), std::abs(ba - to_a[k])});
        to_b[k] = ab;
        to_a[k] = ba;
      }
      incoming.assign(n_, 0);
      for (std::size_t k = 0; k < pairs_.size(); ++k) {
        incoming[static_cast<std::size_t>(pairs_[k].b)] += to_b[k];
        incoming[static_cast<std::size_t>(pairs_[k].a)] += to_a[k];
      }
      if (change < 1e-12) break;
    }
    Vector variance(n_);
    for (std::size_t i = 0; i < n_; ++i)
      variance[i] = 1 / (diagonal[i] + incoming[i]);
    return variance;
  }

  // The whole negated Hessian, row after row.
  Vector matrix(const Vector& pair_weight, const Vector& own_weight) const {
    Vector m(n_ * n_, 0);
    for (std::size_t i = 0; i < n_; ++i)
      m[i * n_ + i] = own_weight[i];
    for (std::size_t k = 0; k < pairs_.size(); ++k) {
      const auto a = static_cast<std::size_t>(pairs_[k].a),
                 b = static_cast<std::size_t>(pairs_[k].b);
      m[a * n_ + a] += pair_weight[k];
      m[b * n_ + b] += pair_weight[k];
      m[a * n_ + b] -= pair_weight[k];
      m[b * n_ + a] -= pair_weight[k];
    }
    return m;
  }

 private:
  static double at(const Vector& x, std::int32_t i) { return x[static_cast<std::size_t>(i)]; }

  std::size_t n_;
  std::vector<bool> played_;
  std::vector<PairScore> pairs_;
};

// Solves H x = b by conjugate gradients, H being the negated Hessian of the weights given
// (positive definite: see derivatives()).
Vector solve(const Problem& problem, const Vector& pair_weight, const Vector& own_weight,
             const Vector& b) {
  const std::size_t n = problem.size();
  Vector inverse_diagonal = problem.diagonal(pair_weight, own_weight);
  for (double& d : inverse_diagonal)
    d = d > 0 ? 1 / d : 1;
  Vector x(n, 0), r = b, z(n), p(n);
  for (std::size_t i = 0; i < n; ++i)
    p[i] = z[i] = inverse_diagonal[i] * r[i];
  double rz = dot(r, z);
  const double target = 1e-24 * std::max(dot(b, b), 1e-300);
  for (std::size_t step = 0; step < 10 * n + 100 && dot(r, r) > target; ++step) {
    const Vector hp = problem.times(pair_weight, own_weight, p);
    const double php = dot(p, hp);
    if (!(php > 0)) break;
    const double alpha = rz / php;
    for (std::size_t i = 0; i < n; ++i) {
      x[i] += alpha * p[i];
      r[i] -= alpha * hp[i];
      z[i] = inverse_diagonal[i] * r[i];
    }
    const double next = dot(r, z);
    for (std::size_t i = 0; i < n; ++i)
      p[i] = z[i] + next / rz * p[i];
    rz = next;
  }
  return x;
}

// A symmetric positive definite matrix (row after row, n by n) as L L^T, L lower triangular
// (in the lower triangle of m); false if it is not positive definite.
bool cholesky(Vector& m, std::size_t n) {
  for (std::size_t j = 0; j < n; ++j) {
    double d = m[j * n + j];
    for (std::size_t k = 0; k < j; ++k)
      d -= m[j * n + k] * m[j * n + k];
    if (!(d > 0)) return false;
    d = std::sqrt(d);
    m[j * n + j] = d;
    for (std::size_t i = j + 1; i < n; ++i) {
      double s = m[i * n + j];
      for (std::size_t k = 0; k < j; ++k)
        s -= m[i * n + k] * m[j * n + k];
      m[i * n + j] = s / d;
    }
  }
  return true;
}

// The variance of each log strength less the average of those that played (p: 1 for each, else
// 0; m of them), from the inverse S of the negated Hessian H (its factor in `l`):
// S_ii - 2 (S p)_i / m + p^T S p / m^2.
Vector centred_variance(const Vector& l, std::size_t n, const std::vector<bool>& played) {
  Vector diagonal(n, 0), y(n);
  // Column c of L^-1 (from row c on): S_cc is its squared length.
  for (std::size_t c = 0; c < n; ++c) {
    for (std::size_t i = c; i < n; ++i) {
      double s = i == c ? 1.0 : 0.0;
      for (std::size_t k = c; k < i; ++k)
        s -= l[i * n + k] * y[k];
      y[i] = s / l[i * n + i];
      diagonal[c] += y[i] * y[i];
    }
  }
  // S p, by L z = p and then L^T u = z.
  Vector u(n, 0);
  double m = 0;
  for (std::size_t i = 0; i < n; ++i) {
    u[i] = played[i] ? 1 : 0;
    m += u[i];
  }
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t k = 0; k < i; ++k)
      u[i] -= l[i * n + k] * u[k];
    u[i] /= l[i * n + i];
  }
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t k = i + 1; k < n; ++k)
      u[i] -= l[k * n + i] * u[k];
    u[i] /= l[i * n + i];
  }
  double total = 0;
  for (std::size_t i = 0; i < n; ++i)
    total += played[i] ? u[i] : 0;
  for (std::size_t i = 0; i < n; ++i)
    diagonal[i] += total / (m * m) - 2 * u[i] / m;
  return diagonal;
}

// Newton's method from all strengths equal, each step shortened until the likelihood grows.
Vector maximise(const Problem& problem, Vector& pair_weight, Vector& own_weight) {
  const std::size_t n = problem.size();
  Vector x(n, 0), gradient;
  double likelihood = problem.log_likelihood(x);
  for (int step = 0; step < 100; ++step) {
    problem.derivatives(x, gradient, pair_weight, own_weight);
    const Vector delta = solve(problem, pair_weight, own_weight, gradient);
    double largest = 0;
    for (const double d : delta)
      largest = std::max(largest, std::abs(d));
    if (largest < 1e-10) break;
    for (double t = 1; t > 1e-6; t /= 2) {
      Vector next = x;
      for (std::size_t i = 0; i < n; ++i)
        next[i] += t * delta[i];
      const double l = problem.log_likelihood(next);
      if (l >= likelihood) {
        x = std::move(next);
        likelihood = l;
        break;
      }
    }
  }
  problem.derivatives(x, gradient, pair_weight, own_weight);
  return x;
}

}  // namespace

Strengths fit_bradley_terry(std::int32_t entrants, const std::vector<PairScore>& pairs,
                            std::int32_t exact_up_to) {
  const Problem problem(entrants, pairs);
  const std::size_t n = problem.size();
  Vector pair_weight, own_weight;
  Strengths s;
  s.played = problem.played();
  s.log_strength = maximise(problem, pair_weight, own_weight);
  // The average of those that played is 0.
  double sum = 0;
  std::size_t count = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (s.played[i]) {
      sum += s.log_strength[i];
      ++count;
    }
  }
  for (std::size_t i = 0; i < n; ++i)
    s.log_strength[i] = s.played[i] ? s.log_strength[i] - sum / static_cast<double>(count) : 0;

  s.exact_variance = entrants <= exact_up_to;
  Vector variance;
  if (s.exact_variance) {
    Vector m = problem.matrix(pair_weight, own_weight);
    if (cholesky(m, n)) variance = centred_variance(m, n, s.played);
  }
  if (variance.empty()) {
    s.exact_variance = false;
    variance = problem.propagated_variance(pair_weight, own_weight);
  }
  for (std::size_t i = 0; i < n; ++i)
    if (!s.played[i]) variance[i] = 0;
  s.variance = std::move(variance);
  return s;
}

double elo(double log_strength) {
  return 1500 + 400 / std::numbers::ln10 * log_strength;
}

double elo_half_width(double variance) {
  return 1.959963984540054 * 400 / std::numbers::ln10 * std::sqrt(variance);
}

}  // namespace morvane
