// The morvane executable: the command line, then one game in the terminal, or many silent
// ones with `morvane simulate`.

#include <CLI/CLI.hpp>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "console/platform.hpp"
#include "console/terminal.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "modes/options.hpp"
#include "modes/simulate.hpp"

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0.0.0"
#endif

namespace {

using namespace morvane;

constexpr int kUsageError = 2;

int usage_error(const std::string& message) {
  std::cerr << message << "\nRun with --help for more information.\n";
  return kUsageError;
}

// `\r[####      ] 42% 126/300` on stderr, redrawn in place. The line only ever grows, so no
// escape sequence is needed to clear what it covered.
void draw_progress(std::int64_t done, std::int64_t total) {
  constexpr int kWidth = 30;
  const int filled = total > 0 ? static_cast<int>(done * kWidth / total) : kWidth;
  std::string bar(static_cast<std::size_t>(filled), '#');
  bar.resize(kWidth, ' ');
  std::fprintf(stderr, "\r[%s] %3d%% %lld/%lld", bar.c_str(),
               total > 0 ? static_cast<int>(done * 100 / total) : 100, static_cast<long long>(done),
               static_cast<long long>(total));
  std::fflush(stderr);
}

int run_simulation(const SimulationConfig& config, bool json) {
  if (config.lines.empty()) return usage_error("simulate: give one line of names per team");
  if (config.lines.size() > static_cast<std::size_t>(kMaxSlot)) {
    return usage_error("simulate: at most 1004 teams");
  }
  std::function<void(std::int64_t)> progress;
  if (platform::stderr_is_terminal()) {
    progress = [&config](std::int64_t done) { draw_progress(done, config.games); };
  }
  const SimulationReport report = simulate(config, progress);
  if (progress) std::fputs("\n", stderr);
  const std::string text = json ? format_json(report) : format_report(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Morvane: type your fighters' names in teams and watch them battle."};
  app.set_version_flag("--version", std::string("morvane ") + MORVANE_VERSION);

  std::string seed_text;
  TerminalOptions options;
  app.add_option("--seed", seed_text,
                 "Seed of the game's chance (decimal, taken modulo 2^32); the same seed and input "
                 "replay the same game. Default: the current time.");
  app.add_option("--speed", options.speed, "Divide every pause by X (X > 0).")
      ->check(CLI::PositiveNumber);
  app.add_flag("--no-pause", options.no_pause, "Skip every pause.");
  const std::map<std::string, ColorChoice> colors = {
      {"auto", ColorChoice::Auto}, {"always", ColorChoice::Always}, {"never", ColorChoice::Never}};
  app.add_option("--color", options.color,
                 "Colours: auto (on a terminal, unless NO_COLOR is set), always or never.")
      ->transform(CLI::CheckedTransformer(colors, CLI::ignore_case));
  const std::map<std::string, EncodingChoice> encodings = {{"auto", EncodingChoice::Auto},
                                                           {"utf-8", EncodingChoice::Utf8},
                                                           {"utf8", EncodingChoice::Utf8},
                                                           {"gbk", EncodingChoice::Gbk}};
  app.add_option("--encoding", options.encoding,
                 "Text encoding of the terminal: auto (from the locale), utf-8 or gbk.")
      ->transform(CLI::CheckedTransformer(encodings, CLI::ignore_case));

  // Counts are taken as text and read as plain decimal: CLI11's own integers take 010 as octal.
  SimulationConfig sim;
  std::string sim_mode = "1", sim_games = "1000", sim_seed = "1", sim_rounds = "10000";
  std::string sim_threads = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  bool json = false;
  CLI::App* simulate_cmd = app.add_subcommand(
      "simulate", "Play many silent team matches and report each team's chance of winning.");
  simulate_cmd->add_option("--mode", sim_mode, "1 the team match, 2 the dark match (default 1).");
  simulate_cmd->add_option("--games", sim_games, "Number of games (default 1000).");
  simulate_cmd->add_option("--seed", sim_seed, "Seed of game 0; game i uses seed + i (default 1).");
  simulate_cmd->add_option("--threads", sim_threads, "Threads (default: the number of cores).");
  simulate_cmd->add_option("--max-rounds", sim_rounds,
                           "Cut a battle still undecided after this many rounds (default 10000).");
  simulate_cmd->add_flag("--json", json, "Print the figures as JSON.");
  simulate_cmd->add_option("lines", sim.lines, "One line of '/'-separated names per team.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }

  if (simulate_cmd->parsed()) {
    const auto mode = parse_count(sim_mode, 1, 2);
    const auto games = parse_count(sim_games, 1, std::int64_t{1} << 40);
    const auto threads = parse_count(sim_threads, 1, 1024);
    const auto rounds = parse_count(sim_rounds, 1, std::int64_t{1} << 40);
    const auto seed = parse_seed(sim_seed);
    if (!mode) return usage_error("simulate: --mode must be 1 or 2, not '" + sim_mode + "'");
    if (!games)
      return usage_error("simulate: --games must be a number above 0, not '" + sim_games + "'");
    if (!threads)
      return usage_error("simulate: --threads must be 1 ... 1024, not '" + sim_threads + "'");
    if (!rounds)
      return usage_error("simulate: --max-rounds must be a number above 0, not '" + sim_rounds +
                         "'");
    if (!seed) return usage_error("simulate: --seed: '" + sim_seed + "' is not a decimal integer");
    sim.mode = static_cast<std::int32_t>(*mode);
    sim.games = *games;
    sim.threads = static_cast<unsigned>(*threads);
    sim.max_rounds = *rounds;
    sim.seed = *seed;
    return run_simulation(sim, json);
  }

  std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr));
  if (app.count("--seed") > 0) {
    const auto parsed = parse_seed(seed_text);
    if (!parsed) return usage_error("--seed: '" + seed_text + "' is not a decimal integer");
    seed = *parsed;
  }

  TerminalConsole console(options, platform::input());
  Lcg random(seed);
  {
    // The roster is large: keep the game off the stack.
    auto g = std::make_unique<Game>(console, random);
    play(*g);
  }
  return console.finish() ? 0 : 1;
}
