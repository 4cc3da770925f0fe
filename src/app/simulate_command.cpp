#include "app/simulate_command.hpp"

#include "app/batch_command.hpp"
#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/options.hpp"
#include "app/simulate.hpp"
#include "app/simulate_json.hpp"
#include "app/simulate_merge.hpp"
#include "app/simulate_report.hpp"
#include "model/slots.hpp"

namespace morvane::cli {
namespace {

// The report's text as standard output takes it. A merged report's lines come from shard files,
// which anyone may have made: on a terminal their control bytes are shown as text.
std::string output(const SimulationReport& report, bool json) {
  return json ? format_json(report) : text_for_stdout(format_report(report));
}

int refuse(const std::string& why) {
  return usage_error(why, "simulate");
}

// A shard's file, at most this large. A report is a few hundred bytes and about a hundred more
// per team, plus the teams' lines, which came on a command line: under 2 MB together on Linux.
// Whatever a file of this size holds, reading it takes a few tens of megabytes at most.
constexpr std::size_t kMaxShardBytes = 4 << 20;

int run_merge(const SimulateCommand& sim) {
  if (sim.lines.empty()) return refuse("--merge 要给出结果文件");
  std::vector<SimulationReport> shards;
  for (const std::string& path : sim.lines) {
    std::string why;
    const auto text = read_results_file(path, kMaxShardBytes, why);
    if (!text) return refuse(why);
    ParsedReport parsed = parse_report(*text);
    if (!parsed.report) {
      return refuse(typed(path) + " 不是 simulate --json 写出的结果：" + parsed.error);
    }
    shards.push_back(std::move(*parsed.report));
  }
  MergedReport merged = merge_reports(shards);
  if (!merged.report) {
    std::string files;
    for (std::size_t k = 0; k < sim.lines.size(); ++k)
      files += "\n  第" + std::to_string(k + 1) + "个：" + typed(sim.lines[k]);
    return refuse("不能合并：" + merged.error + files);
  }
  if (merged.report->ranges.size() > 1) say("注意：分片之间有缺少的局，结果只算给出的局");
  return print(output(*merged.report, sim.json));
}

}  // namespace

void add_simulate(CLI::App& app, SimulateCommand& sim, const std::string& version) {
  const SimulationConfig& d = kSimulateDefaults;
  sim.cmd = app.add_subcommand("simulate",
                               "静默地打很多局" + std::string(mode_name(Mode::TeamMatch)) + "或" +
                                   std::string(mode_name(Mode::DarkMatch)) + "，统计各队的胜率");
  sim.cmd->add_option("--mode", sim.mode, batch_modes_help(d.mode))->option_text("1|2");
  sim.cmd->add_option("--games", sim.games, "局数" + by_default(d.games))->option_text("N");
  sim.cmd->add_option("--seed", sim.seed, "第0局的种子，第i局用S+i" + by_default(d.seed))
      ->option_text("S");
  sim.cmd
      ->add_option("--first-game", sim.first_game,
                   "从第K局打起（种子S+K起），好把一次模拟分给多台机器" + by_default(d.first_game))
      ->option_text("K");
  sim.cmd->add_option("--threads", sim.threads, "线程数（默认：CPU核数）")->option_text("T");
  sim.cmd
      ->add_option("--max-rounds", sim.rounds,
                   "一场战斗过了R回合仍未分出胜负就不再打，算作未分胜负" + by_default(d.max_rounds))
      ->option_text("R");
  sim.cmd->add_flag("--json", sim.json, "以JSON格式输出结果");
  sim.cmd->add_flag("--merge", sim.merge,
                    "不打，而是把几个分片的--json结果文件加起来，输出合并后的结果");
  sim.cmd->set_version_flag("--version", version, "显示版本并退出");
  sim.cmd->add_option("lines", sim.lines, "每队一行用 / 隔开的名字（--merge时是结果文件）")
      ->option_text("名字行...");
  chinese_help(*sim.cmd, simulate_usage(), simulate_footer());
}

int run_simulation(const SimulateCommand& sim) {
  if (sim.merge) return run_merge(sim);
  std::string why;
  const auto settings = read_batch_options({sim.mode, sim.seed, sim.threads, sim.rounds}, why);
  const auto games = parse_count(sim.games, 1, kSeeds);
  const auto first_game = parse_count(sim.first_game, 0, kSeeds - 1);
  if (!settings) return refuse(why);
  if (!games)
    return refuse("--games 要是1～4294967296（2^32个种子）之间的数" + not_this(sim.games));
  if (!first_game) {
    return refuse("--first-game 要是0～4294967295之间的数" + not_this(sim.first_game));
  }
  if (*first_game + *games > kSeeds) {
    return refuse("第" + sim.first_game + "局起的" + sim.games +
                  "局超出了2^32个种子：只有第0～4294967295局，之后的局会重复");
  }
  if (sim.lines.size() < 2) return refuse("至少要两队：每队给一行用 / 隔开的名字");
  if (sim.lines.size() > static_cast<std::size_t>(kMaxSlot)) return refuse("最多1004队");
  SimulationConfig config;
  config.mode = settings->mode;
  config.first_game = *first_game;
  config.games = *games;
  config.threads = settings->threads;
  config.max_rounds = settings->max_rounds;
  config.seed = settings->seed;
  for (const std::string& line : sim.lines)
    config.lines.push_back(typed(line));

  const auto progress = progress_bar(config.games);
  StopOnSignal signals;
  const SimulationReport report = simulate(config, progress, &signals.stop());
  end_progress(progress);
  return signals.finish(print(output(report, sim.json)));
}

}  // namespace morvane::cli
