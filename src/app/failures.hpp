#pragma once
// A command line CLI11 could not parse, told in Chinese.

#include <CLI/CLI.hpp>

#include <string>

namespace morvane::cli {

// CLI11's failure message: "morvane: <what is wrong>" and the line that says where the usage of
// the command (the game's, replay's or simulate's) is described. Whatever CLI11 would have said
// in English is said again from what it parsed: the options it did not know, the arguments left
// over, the option whose value is missing, the argument that was required.
std::string describe_failure(const CLI::App* app, const CLI::Error& error);

}  // namespace morvane::cli
