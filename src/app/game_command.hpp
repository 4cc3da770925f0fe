#pragma once
// The game played in the terminal: its options and its run.

#include <CLI/CLI.hpp>

#include <string>

#include "console/terminal.hpp"

namespace morvane::cli {

// The game's options as typed on the command line.
struct GameCommand {
  std::string seed;
  std::string max_rounds = "100000";
  std::string odds;  // --odds: "on" or "verbose"; empty without it
  TerminalOptions terminal;
};

void add_game_options(CLI::App& app, GameCommand& game);
// Plays one game in the terminal; returns the exit status.
int run_game(const GameCommand& game, bool seed_given);

}  // namespace morvane::cli
