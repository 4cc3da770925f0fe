#pragma once
// `morvane simulate`: its options and its run.

#include <CLI/CLI.hpp>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

namespace morvane::cli {

// simulate's options as typed. Counts are taken as text and read as plain decimal: CLI11's own
// integers take 010 as octal.
struct SimulateCommand {
  CLI::App* cmd = nullptr;
  std::string mode = "1", games = "1000", seed = "1", rounds = "10000", first_game = "0";
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
