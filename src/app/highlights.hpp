#pragma once
// Which fights of a line-up are worth showing a friend: many fights played silently, each with
// the winners' chances estimated at every round's end as --odds estimates them, and the best of
// three kinds picked, each with the replay code of its fight: the biggest comeback (the eventual
// winner's lowest chance), the closest finish (the fewest hit points left to the winners, as a
// share of their full hit points) and the longest fight.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "modes/mode.hpp"

namespace morvane {

// A run as asked for. Its defaults are the command's: highlights --help shows them from here.
struct HighlightsConfig {
  Mode mode = Mode::TeamMatch;
  std::int64_t fights = 1000;  // fight i plays with seed + i
  std::uint32_t seed = 1;
  unsigned threads = 1;
  std::int64_t max_rounds = 10000;  // a battle still undecided then is cut
  std::int64_t top = 3;             // of each kind
  std::vector<std::string> lines;   // one line of '/'-separated names per team
  std::int64_t continuations = 0;   // at each round's end; 0: kContinuations
};

// The chances are estimated from this many continuations at the end of each round (the same
// first continuations as --odds plays for the fight: a 3 against 3 fight takes about 5 ms), and
// at the end of a fight's first kJudgedRounds rounds only: a battle that goes on for thousands
// of rounds costs no more.
inline constexpr std::int64_t kContinuations = 500;
inline constexpr std::int64_t kJudgedRounds = 200;

// A fight, as it was picked.
struct Highlight {
  std::int64_t fight = 0;  // its index: its seed is config.seed + fight
  std::uint32_t seed = 0;
  std::int32_t winner = 0;  // the team; 0 when nobody was left
  std::int64_t rounds = 0;  // as simulate counts them
  // The comeback: the winner's lowest chance, at the end of round `lowest_round`: it won
  // `lowest_wins` of the `continuations` played from there.
  double lowest_chance = 1;
  std::int64_t lowest_round = 0;
  std::int64_t lowest_wins = 0, continuations = 0;
  // The finish: the winners' hit points left and full, and how many of them stood.
  std::int64_t hp_left = 0, full_hp = 0;
  std::int32_t survivors = 0;
  std::string code;  // its replay code; empty when the fight is too long for one

  double hp_share() const {
    return full_hp > 0 ? static_cast<double>(hp_left) / static_cast<double>(full_hp) : 1;
  }
};

struct HighlightsReport {
  HighlightsConfig config;
  std::int64_t played = 0;  // fights finished: all of them unless interrupted
  // The best of each kind first, at most config.top of each. Comebacks and finishes are of
  // fights that someone won; the longest fights are those the round cap did not cut.
  std::vector<Highlight> comebacks, closest, longest;
  double seconds = 0;

  bool interrupted() const { return played < config.fights; }
};

// Plays the fights on config.threads threads, then makes the codes of those picked. `progress`
// and `stop` are as simulate's; the picks do not depend on the thread count.
HighlightsReport highlights(const HighlightsConfig& config,
                            const std::function<void(std::int64_t done)>& progress = {},
                            const std::atomic<bool>* stop = nullptr);

}  // namespace morvane
