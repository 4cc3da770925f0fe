// The morvane executable: the command line, then one game in the terminal.

#include <CLI/CLI.hpp>

#include <ctime>
#include <iostream>
#include <map>
#include <memory>
#include <string>

#include "console/terminal.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "modes/options.hpp"

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0.0.0"
#endif

namespace {

constexpr int kUsageError = 2;

}  // namespace

int main(int argc, char** argv) {
  using namespace morvane;

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

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }

  std::uint32_t seed = static_cast<std::uint32_t>(std::time(nullptr));
  if (!seed_text.empty() || app.count("--seed") > 0) {
    const auto parsed = parse_seed(seed_text);
    if (!parsed) {
      std::cerr << "--seed: '" << seed_text << "' is not a decimal integer\n"
                << "Run with --help for more information.\n";
      return kUsageError;
    }
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
