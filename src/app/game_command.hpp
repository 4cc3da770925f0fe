#pragma once
// The game played in the terminal, and `morvane replay`: their options and their runs.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "session/session.hpp"
#include "terminal/terminal.hpp"

namespace morvane::cli {

// The game's options as typed on the command line (also those of `replay`). Values are taken
// as text and checked here: CLI11's numbers take 010 as octal and print refusals of their own.
struct GameCommand {
  std::string seed;
  std::string max_rounds = std::to_string(session::kDefaultMaxRounds);
  std::string speed = "1";
  std::string color = "auto";
  std::string encoding = "auto";
  std::string palette = "auto";
  std::string record;       // the file for the replay code; empty: none
  std::string odds;         // --odds: "on", or its value; empty without it
  bool no_history = false;  // the game is left out of the history
  bool keep_open = false;   // the window waits for a key when all is done
  bool odds_empty = false;  // "--odds=", which CLI11 reads as a plain --odds
  TerminalOptions terminal;
};

struct ReplayCommand {
  CLI::App* cmd = nullptr;
  std::string source;  // a code, or a file holding one
};

// The game's options, on the command itself or on replay, which takes them too (--seed and
// --max-rounds only with the code's own values, so their help says so).
void add_game_options(CLI::App& app, GameCommand& game, bool replay = false);
void add_replay(CLI::App& app, ReplayCommand& replay, GameCommand& game,
                const std::string& version);
// Notes what CLI11 cannot tell once it has parsed the words: an option written with an empty
// value where it would take its value as left out.
void note_empty_values(GameCommand& game, const std::vector<std::string>& words);

// Plays one game in the terminal; returns the exit status. `given` says which of --seed,
// --max-rounds and --record were typed.
struct Given {
  bool seed = false;
  bool max_rounds = false;
  bool record = false;
};
int run_game(const GameCommand& game, Given given);
// Replays the fight of a code (or of a file holding one); returns the exit status.
int run_replay(const ReplayCommand& replay, const GameCommand& game, Given given);

// "按任意键关闭", and a key awaited, when standard input and output are a terminal: a window
// opened for the game alone (a menu's, a double-click's) would close with its last lines.
void close_on_a_key();

}  // namespace morvane::cli
