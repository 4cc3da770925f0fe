#pragma once
// The help of each command, in Chinese: its usage and what it is, the options (from the command
// line's own definitions, with their English names), and what follows them.

#include <CLI/CLI.hpp>

#include <string>

namespace morvane::cli {

// Gives `app` a help in this layout: `usage`, the app's description, its arguments, options and
// commands, then `footer`. The options show their value's form (option_text) and nothing else.
void chinese_help(CLI::App& app, std::string usage, std::string footer);

// Options added to `app` from now on are listed under 选项, as is its -h, --help.
void chinese_options(CLI::App& app);

// The columns the help is laid out in: COLUMNS when set, else the terminal's width, else 80;
// never fewer than 40.
int help_width();

// The texts of the commands.
std::string game_usage();
std::string game_description();
std::string game_footer();
std::string replay_usage();
std::string replay_footer();
std::string history_usage();
std::string history_footer();
std::string simulate_usage();
std::string simulate_footer();
std::string rank_usage();
std::string rank_footer();
std::string highlights_usage();
std::string highlights_footer();

// --version, in the GNU shape: name and version, copyright, licence, warranty.
std::string version_text(const std::string& version);

}  // namespace morvane::cli
