#pragma once
// `morvane highlights`: its options and its run.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "app/batch_command.hpp"
#include "app/highlights.hpp"

namespace morvane::cli {

// The run's defaults, as HighlightsConfig defines them.
inline const HighlightsConfig kHighlightsDefaults{};

// highlights' options as typed.
struct HighlightsCommand {
  CLI::App* cmd = nullptr;
  BatchOptions batch{std::to_string(static_cast<std::int32_t>(kHighlightsDefaults.mode)),
                     std::to_string(kHighlightsDefaults.seed), cores(),
                     std::to_string(kHighlightsDefaults.max_rounds)};
  std::string fights = std::to_string(kHighlightsDefaults.fights);
  std::string top = std::to_string(kHighlightsDefaults.top);
  bool json = false;
  std::vector<std::string> lines;
};

void add_highlights(CLI::App& app, HighlightsCommand& highlights, const std::string& version);
// Plays the fights and prints the picks with their replay codes; returns the exit status.
// Ended by SIGINT or SIGTERM, it prints the picks of the fights finished and dies of that
// signal.
int run_highlights(const HighlightsCommand& highlights);

}  // namespace morvane::cli
