#pragma once
// Live odds: each team's chance of winning a battle from where it stands, estimated by playing
// the rest of the battle many times over from a copy of the whole game, each continuation with
// a random stream of its own, silently. Nothing here touches the game itself: not its records,
// not its console, not its random source. Both the terminal and the page can show it.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "console/console.hpp"
#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"

namespace morvane::odds {

// Who the odds are of: the teams by number, or a mode's own two sides.
enum class Sides {
  Teams,      // 第1队, 第2队, ...: whoever stands last wins
  Endless,    // 你 and 敌人: a level is won only if 你 still stands when the enemies are gone
  Challenge,  // 挑战者 and 作者
};
Sides sides_of(const Game& g);

// How the continuations of one moment of a battle came out.
struct Estimate {
  Sides sides = Sides::Teams;
  std::vector<std::int32_t> teams;  // the counted teams of the roster, by team number
  std::vector<std::int64_t> wins;   // wins[k]: continuations won by teams[k], as the mode judges
  std::int64_t no_winner = 0;       // continuations that left nobody standing
  std::int64_t undecided = 0;       // continuations cut by the round cap
  std::int64_t played = 0;
};

// The seed of continuation `index` of the round counted `round` in a game of seed `seed`:
// different for every game, round and continuation, and fixed by them.
std::uint32_t continuation_seed(std::uint32_t seed, std::int32_t round, std::int64_t index);

// A continuation plays at most this many rounds past the moment it starts from (and never past
// the game's own cap): a battle nobody can win still ends.
inline constexpr std::int64_t kContinuationRounds = 500;

class Estimator {
 public:
  Estimator();

  // The odds from exactly `count` continuations of the battle in `g` as the round driver left it.
  Estimate estimate(const Game& g, const BattleState& battle, std::uint32_t seed,
                    std::int64_t count);
  // The odds from as many continuations as `budget` has time for (at least one, at most `most`).
  Estimate estimate_for(const Game& g, const BattleState& battle, std::uint32_t seed,
                        std::chrono::steady_clock::duration budget, std::int64_t most);

 private:
  // Up to `most` continuations, none begun once `until` has passed.
  Estimate estimate_until(const Game& g, const BattleState& battle, std::uint32_t seed,
                          std::int64_t most,
                          std::optional<std::chrono::steady_clock::time_point> until);
  Estimate start(const Game& g) const;
  // One continuation of the battle, played on a copy, and its outcome counted in `e`.
  void run_continuation(const Game& g, const BattleState& battle, std::uint32_t seed, Estimate& e);

  QuietConsole console_;
  Lcg random_;
  std::unique_ptr<Game> scratch_;  // the copy each continuation plays on
};

// "胜率 第1队 63% ██████▍ 第2队 37% ███▋": each team's share, its bar (in '#' when the terminal
// cannot show block characters), the share of battles nobody survives or nobody wins if any,
// and with `verbose` how many continuations were played. The endless mode's sides are 你 and 敌人,
// the author challenge's 挑战者 and 作者.
std::string odds_line(const Estimate& e, bool ascii, bool verbose);

// Shows the odds on a console after every battle round, as one whole line of its own in grey
// that ends back in colour 0, where the rules had left it.
class OddsListener final : public RoundListener {
 public:
  struct Options {
    bool ascii = false;
    bool verbose = false;
    std::chrono::steady_clock::duration budget = std::chrono::milliseconds(50);
    std::int64_t most = 1'000'000;
  };
  OddsListener(Console& out, std::uint32_t seed, const Options& options);
  void round_ended(const Game& g, const BattleState& battle) override;
  // Told of each estimate once its line is written (the page charts them after the game).
  void on_estimate(std::function<void(const Estimate&)> told) { told_ = std::move(told); }

 private:
  Console& out_;
  std::uint32_t seed_;
  Options options_;
  Estimator estimator_;
  std::function<void(const Estimate&)> told_;
};

}  // namespace morvane::odds
