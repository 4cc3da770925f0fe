// The morvane executable: the command line, then one game in the terminal, a replayed fight,
// or many silent games with `morvane simulate`.

#include <CLI/CLI.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli.hpp"
#include "app/failures.hpp"
#include "app/game_command.hpp"
#include "app/help.hpp"
#include "app/highlights_command.hpp"
#include "app/history_command.hpp"
#include "app/rank_command.hpp"
#include "app/simulate_command.hpp"
#include "app/text_layout.hpp"
#include "console/errors.hpp"
#include "terminal/platform.hpp"
#include "terminal/terminal.hpp"

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0.0.0"
#endif

namespace {

using namespace morvane::cli;

// Runs the command line; `keep_open` says, as soon as it is known, whether the window is to wait
// for a key at the end.
int run(const std::vector<std::string>& words, bool& keep_open) {
  const std::string version = version_text(MORVANE_VERSION);
  CLI::App app{game_description()};
  chinese_options(app);
  app.set_version_flag("--version", version, "显示版本并退出");
  GameCommand game;
  add_game_options(app, game);
  ReplayCommand replay;
  add_replay(app, replay, game, version);
  SimulateCommand sim;
  add_simulate(app, sim, version);
  HistoryCommand history;
  add_history(app, history, version);
  RankCommand rank;
  add_rank(app, rank, version);
  HighlightsCommand highlights;
  add_highlights(app, highlights, version);
  chinese_help(app, game_usage(), game_footer());
  app.failure_message(describe_failure);
  // One command at most: after it, a command's name is an argument (a team may be called that),
  // not another command.
  app.require_subcommand(0, 1);

  std::vector<const char*> argv;
  for (const std::string& word : words)
    argv.push_back(word.c_str());
  try {
    app.parse(static_cast<int>(argv.size()), argv.data());
  } catch (const CLI::CallForHelp&) {
    if (const std::string refusal = help_refusal(&app); !refusal.empty()) {
      write_message(refusal);
      return kUsageError;
    }
    // The help of the command it was asked of: CLI11 knows which one it was parsing.
    return show(morvane::wrap_text(app.help(), help_width()));
  } catch (const CLI::CallForVersion&) {
    return show(version);
  } catch (const CLI::ParseError& e) {
    // CLI11 says it through describe_failure(), into a stream of ours: the console's encoding
    // is ours to apply.
    std::ostringstream out, err;
    app.exit(e, out, err);
    write_message(err.str());
    return kUsageError;
  }
  keep_open = game.keep_open;
  if (sim.cmd->parsed()) return run_simulation(sim);
  if (history.cmd->parsed()) return run_history(history);
  if (rank.cmd->parsed()) return run_rank(rank);
  if (highlights.cmd->parsed()) return run_highlights(highlights);
  note_empty_values(game, words);
  const Given given{app.count("--seed") + replay.cmd->count("--seed") > 0,
                    app.count("--max-rounds") + replay.cmd->count("--max-rounds") > 0,
                    app.count("--record") + replay.cmd->count("--record") > 0};
  if (replay.cmd->parsed()) return run_replay(replay, game, given);
  return run_game(game, given);
}

}  // namespace

int main(int argc, char** argv) {
  morvane::platform::claim_standard_streams();
  // What the program says outside the game is in the console's encoding, as the game is.
  speak_gbk(
      morvane::gbk_wanted(morvane::EncodingChoice::Auto, morvane::platform::locale_codeset()));
  // The console has put the terminal back and written what it held by the time these arrive.
  bool keep_open = false;
  int status = 0;
  try {
    status = run(morvane::platform::arguments(argc, argv), keep_open);
  } catch (const morvane::OutputFailed& e) {
    status = write_failure(e.error());
  } catch (const morvane::InputTooLarge& e) {
    status = refused(e.what());
  }
  // A console window of the game's own closes as the game ends, taking its last lines with it.
  if (keep_open || morvane::platform::console_of_our_own()) close_on_a_key();
  return status;
}
