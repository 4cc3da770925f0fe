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

#include "app/options.hpp"
#include "app/simulate.hpp"
#include "console/platform.hpp"
#include "console/terminal.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

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

// The game's options as typed on the command line.
struct GameCommand {
  std::string seed;
  std::string max_rounds = "100000";
  TerminalOptions terminal;
};

void add_game_options(CLI::App& app, GameCommand& game) {
  app.add_option("--seed", game.seed,
                 "Seed of the game's chance (decimal, taken modulo 2^32); the same seed and input "
                 "replay the same game. Default: the current time.");
  app.add_option("--speed", game.terminal.speed, "Divide every pause by X (X > 0).")
      ->check(CLI::PositiveNumber);
  app.add_flag("--no-pause", game.terminal.no_pause, "Skip every pause.");
  app.add_option("--max-rounds", game.max_rounds,
                 "A battle still undecided after N rounds ends as a draw (default 100000; 0: "
                 "no cap).");
  const std::map<std::string, ColorChoice> colors = {
      {"auto", ColorChoice::Auto}, {"always", ColorChoice::Always}, {"never", ColorChoice::Never}};
  app.add_option("--color", game.terminal.color,
                 "Colours: auto (on a terminal, unless NO_COLOR is set), always or never.")
      ->transform(CLI::CheckedTransformer(colors, CLI::ignore_case));
  const std::map<std::string, EncodingChoice> encodings = {{"auto", EncodingChoice::Auto},
                                                           {"utf-8", EncodingChoice::Utf8},
                                                           {"utf8", EncodingChoice::Utf8},
                                                           {"gbk", EncodingChoice::Gbk}};
  app.add_option("--encoding", game.terminal.encoding,
                 "Text encoding of the terminal: auto (from the locale), utf-8 or gbk.")
      ->transform(CLI::CheckedTransformer(encodings, CLI::ignore_case));
}

// simulate's options as typed. Counts are taken as text and read as plain decimal: CLI11's own
// integers take 010 as octal.
struct SimulateCommand {
  CLI::App* cmd = nullptr;
  std::string mode = "1", games = "1000", seed = "1", rounds = "10000";
  std::string threads = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  bool json = false;
  std::vector<std::string> lines;
};

void add_simulate(CLI::App& app, SimulateCommand& sim) {
  sim.cmd = app.add_subcommand(
      "simulate", "Play many silent team matches and report each team's chance of winning.");
  sim.cmd->add_option("--mode", sim.mode, "1 the team match, 2 the dark match (default 1).");
  sim.cmd->add_option("--games", sim.games, "Number of games (default 1000).");
  sim.cmd->add_option("--seed", sim.seed, "Seed of game 0; game i uses seed + i (default 1).");
  sim.cmd->add_option("--threads", sim.threads, "Threads (default: the number of cores).");
  sim.cmd->add_option("--max-rounds", sim.rounds,
                      "Cut a battle still undecided after this many rounds (default 10000).");
  sim.cmd->add_flag("--json", sim.json, "Print the figures as JSON.");
  sim.cmd->add_option("lines", sim.lines, "One line of '/'-separated names per team.");
}

int run_simulation(const SimulateCommand& sim) {
  const auto mode = parse_count(sim.mode, 1, 2);
  const auto games = parse_count(sim.games, 1, std::int64_t{1} << 40);
  const auto threads = parse_count(sim.threads, 1, 1024);
  const auto rounds = parse_count(sim.rounds, 1, std::int64_t{1} << 40);
  const auto seed = parse_seed(sim.seed);
  if (!mode) return usage_error("simulate: --mode must be 1 or 2, not '" + sim.mode + "'");
  if (!games)
    return usage_error("simulate: --games must be a number above 0, not '" + sim.games + "'");
  if (!threads)
    return usage_error("simulate: --threads must be 1 ... 1024, not '" + sim.threads + "'");
  if (!rounds)
    return usage_error("simulate: --max-rounds must be a number above 0, not '" + sim.rounds + "'");
  if (!seed) return usage_error("simulate: --seed: '" + sim.seed + "' is not a decimal integer");
  if (sim.lines.empty()) return usage_error("simulate: give one line of names per team");
  if (sim.lines.size() > static_cast<std::size_t>(kMaxSlot)) {
    return usage_error("simulate: at most 1004 teams");
  }
  SimulationConfig config;
  config.mode = static_cast<std::int32_t>(*mode);
  config.games = *games;
  config.threads = static_cast<unsigned>(*threads);
  config.max_rounds = *rounds;
  config.seed = *seed;
  config.lines = sim.lines;

  std::function<void(std::int64_t)> progress;
  if (platform::stderr_is_terminal()) {
    progress = [&config](std::int64_t done) { draw_progress(done, config.games); };
  }
  const SimulationReport report = simulate(config, progress);
  if (progress) std::fputs("\n", stderr);
  const std::string text = sim.json ? format_json(report) : format_report(report);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}

int run_game(const GameCommand& game, bool seed_given) {
  std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr));
  if (seed_given) {
    const auto parsed = parse_seed(game.seed);
    if (!parsed) return usage_error("--seed: '" + game.seed + "' is not a decimal integer");
    seed = *parsed;
  }
  const auto max_rounds = parse_count(game.max_rounds, 0, std::int64_t{1} << 40);
  if (!max_rounds) {
    return usage_error("--max-rounds must be a number of rounds, 0 for no cap, not '" +
                       game.max_rounds + "'");
  }
  TerminalConsole console(game.terminal, platform::input());
  Lcg random(seed);
  {
    // The roster is large: keep the game off the stack.
    auto g = std::make_unique<Game>(console, random);
    g->max_rounds = *max_rounds;
    play(*g);
  }
  return console.finish() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
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
