#pragma once
// `morvane rank`: its options and its run.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "app/batch_command.hpp"
#include "app/rank.hpp"

namespace morvane::cli {

// The run's defaults, as RankConfig defines them.
inline const RankConfig kRankDefaults{};

// rank's options as typed.
struct RankCommand {
  CLI::App* cmd = nullptr;
  BatchOptions batch{std::to_string(static_cast<std::int32_t>(kRankDefaults.mode)),
                     std::to_string(kRankDefaults.seed), cores(),
                     std::to_string(kRankDefaults.max_rounds)};
  std::string games = std::to_string(kRankDefaults.games);
  std::string opponents;  // empty: everyone against everyone
  std::string first_pair = "0";
  std::string pairs;  // empty: to the end of the schedule
  std::string from;   // a file of entrants, one a line
  bool json = false;
  bool csv = false;
  bool merge = false;  // `entrants` are files of --json results to add up
  std::vector<std::string> entrants;
};

void add_rank(CLI::App& app, RankCommand& rank, const std::string& version);
// Plays the pairs' games (or adds up shards) and prints the ranking; returns the exit status.
// Ended by SIGINT or SIGTERM, it prints the ranking of the games finished and dies of that
// signal.
int run_rank(const RankCommand& rank);

}  // namespace morvane::cli
