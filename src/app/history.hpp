#pragma once
// The record of the games played on a terminal: one line of JSON per game, the newest last, in
// the file history.jsonl of the game's state folder (platform::state_folder()). Each game that
// ends on a terminal adds its line; the file keeps the last kKept. Writers take turns through a
// lock file beside it (history.lock), so two games that end at once both land whole. The file is
// the player's and any program's to read, and anyone's to spoil: every line is checked when
// read, and one that does not read is passed over.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "replay/replay_code.hpp"

namespace morvane::history {

inline constexpr std::size_t kKept = 1000;
// A code longer than this is left out of the record (a game of thousands of long names): it
// would make the file as large as the games.
inline constexpr std::size_t kLongestCodeKept = 16 * 1024;
// How long a game waits for another to finish writing before it gives up on its record.
inline constexpr int kLockWaitMs = 5000;

// One game. Names and codes are as the game had them: shown, they go through visible_text.
struct Entry {
  std::int64_t time = 0;  // when it ended, in seconds since 1970 (UTC)
  std::int32_t mode = 0;  // the menu's number, 1 ... 4
  std::uint32_t seed = 0;
  // Modes 1 and 2: each team's line of names, shortened; 3: "你（属性8）"; 4:
  // "挑战者（属性1/8/6）".
  std::vector<std::string> teams;
  std::int32_t winner = 0;  // the team named the winner; 0: none
  bool draw = false;        // the round cap ended the battle
  std::int32_t level = 0;   // endless mode: the level the run ended at
  std::int32_t best = 0;    // endless mode: the best level of all runs kept so far, this one's too
  std::string code;         // the replay code; empty when there is none
  friend bool operator==(const Entry&, const Entry&) = default;
};

// The teams as typed, from the game's answers: for a team match its lines of names (at most eight
// shown, each at most 24 characters), for the endless mode and the author challenge the
// attributes chosen.
std::vector<std::string> teams_of(std::int32_t mode, const std::vector<replay::Answer>& answers);

// An entry as its line of the file, and back; nothing for a line that is not one.
std::string line_of(const Entry& entry);
std::optional<Entry> entry_of(std::string_view line);

// Whether MORVANE_NO_HISTORY (set and not empty) turns the record off.
bool turned_off(const char* no_history);

// What became of an entry to be kept.
struct Kept {
  int error = 0;          // 0, or the error number of why it was not kept
  std::string where;      // the file or folder the error is about
  std::int32_t best = 0;  // endless mode: the best level kept, this run's included
};
// Adds `entry` to the history in `folder`, made when missing, dropping the oldest beyond kKept.
// The entry's `best` is worked out here.
Kept keep(const std::string& folder, Entry entry);

// The history as read.
struct Read {
  std::vector<Entry> entries;
  std::vector<std::size_t> damaged;  // the numbers (from 1) of the lines passed over
  int error = 0;  // 0, or why the file could not be read (ENOENT: no history yet)
  std::string file;
};
Read read(const std::string& folder);

// The last `count` entries for a person, oldest first: when, the mode, the seed, the teams and
// the outcome on one line, and the command that replays the game alone on the next; then the
// endless mode's best level, if any. UTF-8, names as they are (the caller shows them as text).
std::string listing(const std::vector<Entry>& entries, std::size_t count);

// The best level of the endless runs among `entries`; 0 when there are none.
std::int32_t best_level(const std::vector<Entry>& entries);

}  // namespace morvane::history
