// The morvane executable: the command line, then one game in the terminal, or many silent
// ones with `morvane simulate`.

#include <CLI/CLI.hpp>

#include <string>

#include "app/cli.hpp"
#include "app/game_command.hpp"
#include "app/simulate_command.hpp"

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0.0.0"
#endif

int main(int argc, char** argv) {
  using namespace morvane::cli;
  CLI::App app{"Morvane: type your fighters' names in teams and watch them battle."};
  app.set_version_flag("--version", std::string("morvane ") + MORVANE_VERSION);
  GameCommand game;
  add_game_options(app, game);
  SimulateCommand sim;
  add_simulate(app, sim);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }
  if (sim.cmd->parsed()) return run_simulation(sim);
  return run_game(game, app.count("--seed") > 0);
}
