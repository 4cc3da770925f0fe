#include "app/simulate_command.hpp"

#include <cstdio>
#include <functional>

#include "app/cli.hpp"
#include "app/options.hpp"
#include "app/simulate.hpp"
#include "console/platform.hpp"
#include "model/slots.hpp"

namespace morvane::cli {
namespace {

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

}  // namespace

void add_simulate(CLI::App& app, SimulateCommand& sim) {
  sim.cmd =
      app.add_subcommand("simulate", "静默地打很多局正常模式或疯狂阿瓦达模式，统计各队的胜率");
  sim.cmd->add_option("--mode", sim.mode, "1：正常模式（默认），2：疯狂阿瓦达模式")
      ->option_text("1|2");
  sim.cmd->add_option("--games", sim.games, "局数（默认1000）")->option_text("N");
  sim.cmd->add_option("--seed", sim.seed, "第0局的种子，第i局用S+i（默认1）")->option_text("S");
  sim.cmd->add_option("--threads", sim.threads, "线程数（默认：CPU核数）")->option_text("T");
  sim.cmd
      ->add_option("--max-rounds", sim.rounds,
                   "一场战斗过了R回合仍未分出胜负就不再打，算作未分胜负（默认10000）")
      ->option_text("R");
  sim.cmd->add_flag("--json", sim.json, "以JSON格式输出结果");
  sim.cmd->add_option("lines", sim.lines, "每队一行用 / 隔开的名字");
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
  // Through the game's own writer: a closed stdout fails here as it fails for the game.
  return print(text);
}

}  // namespace morvane::cli
