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

// A call for help that came with what it cannot take (a value, as in --help=x; an option nobody
// knows, as in -hx, read as -h -x; a stray argument), as describe_failure() says it. Empty when
// the help is to be shown.
std::string help_refusal(const CLI::App* app);

}  // namespace morvane::cli
