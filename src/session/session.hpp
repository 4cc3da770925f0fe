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

// A fight whose narration runs past this many bytes (its text, numbers and line ends, as a pipe
// gets them) is too long for a code. Checking a code means playing its fight through, and a code
// made by hand could otherwise ask for a battle without end, or a name of a megabyte in every
// line: the budget bounds the work of checking a code and the bytes of showing it. The longest
// games people play narrate well under a megabyte; a ten-fighter battle that runs to the default
// round cap narrates 33 MB.
inline constexpr std::uint64_t kMaxFightBytes = 64 << 20;

// Told of the game a session plays before its first line (over: false) and after its last
// (over: true), while it still exists: a front end that draws the roster as the narration goes
// (the page's board) reads it in between, never changes it, and lets go of it when it is over.
using GameSeen = std::function<void(const Game& g, bool over)>;

// Plays a fresh game of `seed` on `console`, as the player answers. Battles undecided after
// `max_rounds` rounds are draws (0: no cap). `on_round_end`, when given, is told of every battle
// round's end (the live odds).
void play(Console& console, std::uint32_t seed, std::int64_t max_rounds,
          RoundListener* on_round_end = nullptr, const GameSeen& seen = {});

// Why a game has no code.
enum class NoCode {
  None,      // it has one
  TooLarge,  // its answers (names typed by the megabyte) are more than a code holds
  TooLong,   // its narration went past the byte budget
};

// A fresh game played and recorded.
struct Recorded {
  replay::Fight fight;
  std::string code;  // empty when the game has none, see `no_code`
  NoCode no_code = NoCode::None;
};
Recorded play_recorded(Console& console, std::uint32_t seed, std::int64_t max_rounds,
                       RoundListener* on_round_end = nullptr,
                       std::uint64_t max_bytes = kMaxFightBytes, const GameSeen& seen = {});

// A code read and checked: its fight, or why it cannot be played (for the player, in Chinese).
struct Loaded {
  std::optional<replay::Fight> fight;
  std::string message;
};
// Finds the code in `text` (see replay::decode: a code alone, pasted with blanks, a copied line,
// a page address, a file's bytes) and plays its fight quietly: the fight is taken only when
// these rules tell it exactly as it was told when the code was made. Refused, with the reason,
// as soon as the narration passes `max_bytes`: whatever the code, checking it costs at most that
// much narration (under a second in a native build), and showing a fight taken narrates no
// more. It needs no console, no clock and nothing of the page, so a front end can run it on a
// thread of its own (the page: a Web Worker) and then, on the thread that shows the fight, take
// the fight from replay::decode of the same text, which costs next to nothing. A fight past the
// budget is stopped by an exception thrown and caught in here: a WebAssembly build that checks
// codes must catch exceptions (-fexceptions when compiling and linking), or it aborts instead.
Loaded load(std::string_view text, std::uint64_t max_bytes = kMaxFightBytes);

// Plays a fight on `console`, answering every question from the fight and asking the player
// nothing. The narration stops at the byte budget like the check's: false when it did (never for
// a fight that load() took).
bool replay(Console& console, const replay::Fight& fight, RoundListener* on_round_end = nullptr,
            std::uint64_t max_bytes = kMaxFightBytes);

}  // namespace morvane::session
