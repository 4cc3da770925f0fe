#pragma once
// What any front end does with whole games and replay codes: play a fresh game while recording
// what makes its code, and read a code, check it against these rules and play its fight again.
// The front end brings its console (a terminal, a page); the layers below bring the rules and
// the codes.
//
// A game is recorded as
//   rules -> DigestConsole -> AnswerRecorder -> the front end's console
// and a code's fight is checked, then shown, as
//   rules -> DigestConsole -> AnswerPlayer -> QuietConsole, or the front end's console.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "model/game.hpp"
#include "replay/replay_code.hpp"

namespace morvane::session {

// A game's round cap unless the player gives another, in the terminal and the page alike: a
// battle no one can win ends as a draw after this many rounds.
inline constexpr std::int64_t kDefaultMaxRounds = 100000;

// A fight whose narration runs past this many lines has no code: checking a code means playing
// its fight through, and a code made by hand could otherwise ask for a battle without end.
inline constexpr std::uint64_t kMaxFightLines = 20'000'000;

// Told of the game a session plays before its first line (over: false) and after its last
// (over: true), while it still exists: a front end that draws the roster as the narration goes
// (the page's board) reads it in between, never changes it, and lets go of it when it is over.
using GameSeen = std::function<void(const Game& g, bool over)>;

// Plays a fresh game of `seed` on `console`, as the player answers. Battles undecided after
// `max_rounds` rounds are draws (0: no cap). `on_round_end`, when given, is told of every battle
// round's end (the live odds).
void play(Console& console, std::uint32_t seed, std::int64_t max_rounds,
          RoundListener* on_round_end = nullptr, const GameSeen& seen = {});

// A fresh game played and recorded.
struct Recorded {
  replay::Fight fight;
  std::string code;  // empty when the game is too large for a code
};
Recorded play_recorded(Console& console, std::uint32_t seed, std::int64_t max_rounds,
                       RoundListener* on_round_end = nullptr,
                       std::uint64_t max_lines = kMaxFightLines, const GameSeen& seen = {});

// A code read and checked: its fight, or why it cannot be played (for the player, in Chinese).
struct Loaded {
  std::optional<replay::Fight> fight;
  std::string message;
};
// Decodes the code and plays its fight quietly: the fight is taken only when these rules tell it
// exactly as it was told when the code was made.
Loaded load(std::string_view code, std::uint64_t max_lines = kMaxFightLines);

// Plays a fight on `console`, answering every question from the fight and asking the player
// nothing.
void replay(Console& console, const replay::Fight& fight, RoundListener* on_round_end = nullptr);

}  // namespace morvane::session
