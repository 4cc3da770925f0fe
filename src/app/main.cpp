// The morvane executable: the command line, then one game in the terminal, a replayed fight,
// or many silent games with `morvane simulate`.

#include <CLI/CLI.hpp>

#include <string>

#include "app/cli.hpp"
#include "app/game_command.hpp"
#include "app/help.hpp"
#include "app/simulate_command.hpp"
#include "console/errors.hpp"
#include "console/platform.hpp"

#ifndef MORVANE_VERSION
#define MORVANE_VERSION "0.0.0"
#endif

namespace {

using namespace morvane::cli;

int run(int argc, char** argv) {
  const std::string version = version_text(MORVANE_VERSION);
  CLI::App app{
      "Morvane：输入各队人物的名字，看他们自己打起来。每个名字都变成一个有血量、攻击、\n"
      "防御、魔力和属性的人物；十二个固定的名字是有专属技能的特殊人物。"};
  chinese_options(app);
  app.set_version_flag("--version", version, "显示版本并退出");
  GameCommand game;
  add_game_options(app, game);
  ReplayCommand replay;
  add_replay(app, replay, game, version);
  SimulateCommand sim;
  add_simulate(app, sim);
  chinese_help(app, game_usage(), game_footer());

  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    // The help of the command it was asked of: CLI11 knows which one it was parsing.
    return print(app.help());
  } catch (const CLI::CallForVersion&) {
    return print(version);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e);
    return status == 0 ? 0 : kUsageError;
  }
  if (sim.cmd->parsed()) return run_simulation(sim);
  const Given given{app.count("--seed") + replay.cmd->count("--seed") > 0,
                    app.count("--max-rounds") + replay.cmd->count("--max-rounds") > 0,
                    app.count("--record") + replay.cmd->count("--record") > 0};
  if (replay.cmd->parsed()) return run_replay(replay, game, given);
  return run_game(game, given);
}

}  // namespace

int main(int argc, char** argv) {
  morvane::platform::claim_standard_streams();
  // The console has put the terminal back and written what it held by the time these arrive.
  try {
    return run(argc, argv);
  } catch (const morvane::OutputFailed& e) {
    return write_failure(e.error());
  } catch (const morvane::InputTooLarge& e) {
    return refused(e.what());
  }
}
