#pragma once
// `morvane simulate`: its options and its run.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "app/simulate.hpp"

namespace morvane::cli {

// The run's defaults, as SimulationConfig defines them.
inline const SimulationConfig kSimulateDefaults{};

// simulate's options as typed. Counts are taken as text and read as plain decimal: CLI11's own
// integers take 010 as octal.
struct SimulateCommand {
  CLI::App* cmd = nullptr;
  std::string mode = std::to_string(static_cast<std::int32_t>(kSimulateDefaults.mode));
  std::string games = std::to_string(kSimulateDefaults.games);
  std::string seed = std::to_string(kSimulateDefaults.seed);
  std::string rounds = std::to_string(kSimulateDefaults.max_rounds);
  std::string first_game = std::to_string(kSimulateDefaults.first_game);
  std::string threads = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  bool json = false;
  bool merge = false;  // --merge: `lines` are files of --json results to add up
  std::vector<std::string> lines;
};

void add_simulate(CLI::App& app, SimulateCommand& sim, const std::string& version);
// Plays the games (or adds up shards) and prints the report; returns the exit status. Ended by
// SIGINT or SIGTERM, it prints the figures of the games finished and dies of that signal.
int run_simulation(const SimulateCommand& sim);

}  // namespace morvane::cli
