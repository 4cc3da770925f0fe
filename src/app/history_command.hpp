#pragma once
// `morvane history`: the games played on a terminal, with the commands that replay them.

#include <CLI/CLI.hpp>

#include <string>

namespace morvane::cli {

struct HistoryCommand {
  CLI::App* cmd = nullptr;
  std::string count = "10";  // as typed: how many of the last games to list
};

void add_history(CLI::App& app, HistoryCommand& history, const std::string& version);
// Lists the last games; returns the exit status.
int run_history(const HistoryCommand& history);

}  // namespace morvane::cli
