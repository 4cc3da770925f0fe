#include "app/game_command.hpp"

#include <ctime>
#include <map>
#include <memory>

#include "app/cli.hpp"
#include "app/options.hpp"
#include "console/platform.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "odds/odds.hpp"

namespace morvane::cli {

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
  app.add_flag("--odds{on}", game.odds,
               "After each battle round, each team's chance of winning (--odds=verbose: and how "
               "many continuations were played).")
      ->check(CLI::IsMember({"on", "verbose"}));
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
    // The odds go straight to the terminal, beside the rules' own narration.
    std::unique_ptr<odds::OddsListener> odds;
    if (!game.odds.empty()) {
      const bool gbk =
          gbk_wanted(game.terminal.encoding, game.terminal.encoding == EncodingChoice::Auto
                                                 ? platform::locale_codeset()
                                                 : std::string{});
      odds = std::make_unique<odds::OddsListener>(
          console, seed,
          odds::OddsListener::Options{.ascii = gbk, .verbose = game.odds == "verbose"});
      g->on_round_end = odds.get();
    }
    play(*g);
  }
  return console.finish() ? 0 : 1;
}

}  // namespace morvane::cli
