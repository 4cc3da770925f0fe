#include "app/simulate_command.hpp"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/options.hpp"
#include "app/simulate.hpp"
#include "console/platform.hpp"
#include "console/terminal.hpp"
#include "console/visible_text.hpp"
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

// Ctrl-C or a polite kill: the workers give up the games under way and stop, and the figures
// of the games finished are printed. A second one ends the run at once, by its signal.
std::atomic<bool> stop_requested{false};
volatile std::sig_atomic_t stop_signal = 0;
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

extern "C" void request_stop(int sig) {
  if (stop_requested.load()) {
    // Delivered once this handler returns.
    std::signal(sig, SIG_DFL);
    std::raise(sig);
    return;
  }
  stop_signal = sig;
  stop_requested.store(true);
}

// What the command line hands over is in the locale's encoding; the rules and the JSON speak
// UTF-8.
struct Encoding {
  bool gbk = gbk_wanted(EncodingChoice::Auto, platform::locale_codeset());
  std::string to_utf8(const std::string& text) const {
    return gbk ? platform::gbk_to_utf8()->convert(text) : text;
  }
  // The report's text as standard output takes it. A merged report's lines come from shard
  // files, which anyone may have made: on a terminal their control bytes are shown as text.
  std::string for_terminal(const std::string& text) const {
    const auto to_gbk = gbk ? platform::utf8_to_gbk() : nullptr;
    if (platform::stdout_is_terminal()) return visible_on_terminal(text, to_gbk.get());
    return to_gbk ? to_gbk->convert(text) : text;
  }
};

std::string output(const SimulationReport& report, bool json, const Encoding& encoding) {
  return json ? format_json(report) : encoding.for_terminal(format_report(report));
}

// A shard's file, at most this large. A report is a few hundred bytes and about a hundred more
// per team, plus the teams' lines, which came on a command line: under 2 MB together on Linux.
// Whatever a file of this size holds, reading it takes a few tens of megabytes at most.
constexpr std::size_t kMaxShardBytes = 4 << 20;

int run_merge(const SimulateCommand& sim, const Encoding& encoding) {
  if (sim.lines.empty()) return usage_error("simulate --merge: 给出要合并的结果文件");
  std::vector<SimulationReport> shards;
  for (const std::string& path : sim.lines) {
    const FileText file = read_capped(path, kMaxShardBytes);
    if (file.status == FileText::Status::Unreadable)
      return usage_error("simulate --merge: 读不了" + path);
    if (file.status == FileText::Status::TooLarge)
      return usage_error("simulate --merge: " + path + "太大");
    ParsedReport parsed = parse_report(file.text);
    if (!parsed.report) {
      return usage_error("simulate --merge: " + path + "不是simulate --json的结果：" +
                         parsed.error);
    }
    shards.push_back(std::move(*parsed.report));
  }
  MergedReport merged = merge_reports(shards);
  if (!merged.report) {
    std::string files;
    for (std::size_t k = 0; k < sim.lines.size(); ++k)
      files += "\n  第" + std::to_string(k + 1) + "个：" + sim.lines[k];
    return usage_error("simulate --merge: " + merged.error + files);
  }
  if (merged.report->ranges.size() > 1) {
    std::fputs("simulate --merge: 注意：分片之间有缺少的局，结果只算给出的局\n", stderr);
  }
  return print(output(*merged.report, sim.json, encoding));
}

}  // namespace

void add_simulate(CLI::App& app, SimulateCommand& sim) {
  sim.cmd =
      app.add_subcommand("simulate", "静默地打很多局正常模式或疯狂阿瓦达模式，统计各队的胜率");
  sim.cmd->add_option("--mode", sim.mode, "1：正常模式（默认），2：疯狂阿瓦达模式")
      ->option_text("1|2");
  sim.cmd->add_option("--games", sim.games, "局数（默认1000）")->option_text("N");
  sim.cmd->add_option("--seed", sim.seed, "第0局的种子，第i局用S+i（默认1）")->option_text("S");
  sim.cmd
      ->add_option("--first-game", sim.first_game,
                   "从第K局打起（种子S+K起），好把一次模拟分给多台机器（默认0）")
      ->option_text("K");
  sim.cmd->add_option("--threads", sim.threads, "线程数（默认：CPU核数）")->option_text("T");
  sim.cmd
      ->add_option("--max-rounds", sim.rounds,
                   "一场战斗过了R回合仍未分出胜负就不再打，算作未分胜负（默认10000）")
      ->option_text("R");
  sim.cmd->add_flag("--json", sim.json, "以JSON格式输出结果");
  sim.cmd->add_flag("--merge", sim.merge,
                    "不打，而是把几个分片的--json结果文件加起来，输出合并后的结果");
  sim.cmd->add_option("lines", sim.lines, "每队一行用 / 隔开的名字（--merge时是结果文件）");
  chinese_help(*sim.cmd, simulate_usage(), simulate_footer());
}

int run_simulation(const SimulateCommand& sim) {
  const Encoding encoding;
  if (sim.merge) return run_merge(sim, encoding);
  const auto mode = parse_count(sim.mode, 1, 2);
  const auto games = parse_count(sim.games, 1, kSeeds);
  const auto first_game = parse_count(sim.first_game, 0, kSeeds - 1);
  const auto threads = parse_count(sim.threads, 1, 1024);
  const auto rounds = parse_count(sim.rounds, 1, std::int64_t{1} << 40);
  const auto seed = parse_seed(sim.seed);
  if (!mode) return usage_error("simulate: --mode 只能是1或2，不能是“" + sim.mode + "”");
  if (!games) {
    return usage_error("simulate: --games 要是1～4294967296（2^32个种子）之间的数，不能是“" +
                       sim.games + "”");
  }
  if (!first_game) {
    return usage_error("simulate: --first-game 要是0～4294967295之间的数，不能是“" +
                       sim.first_game + "”");
  }
  if (*first_game + *games > kSeeds) {
    return usage_error("simulate: 第" + sim.first_game + "局起的" + sim.games +
                       "局超出了2^32个种子：只有第0～4294967295局，之后的局会重复");
  }
  if (!threads) return usage_error("simulate: --threads 要是1～1024，不能是“" + sim.threads + "”");
  if (!rounds) {
    return usage_error("simulate: --max-rounds 要是大于0的数，不能是“" + sim.rounds + "”");
  }
  if (!seed) return usage_error("simulate: --seed：“" + sim.seed + "”不是十进制整数");
  if (sim.lines.empty()) return usage_error("simulate: 每队给一行名字");
  if (sim.lines.size() > static_cast<std::size_t>(kMaxSlot)) {
    return usage_error("simulate: 最多1004队");
  }
  SimulationConfig config;
  config.mode = static_cast<std::int32_t>(*mode);
  config.first_game = *first_game;
  config.games = *games;
  config.threads = static_cast<unsigned>(*threads);
  config.max_rounds = *rounds;
  config.seed = *seed;
  for (const std::string& line : sim.lines)
    config.lines.push_back(encoding.to_utf8(line));

  std::function<void(std::int64_t)> progress;
  if (platform::stderr_is_terminal()) {
    progress = [&config](std::int64_t done) { draw_progress(done, config.games); };
  }
  std::signal(SIGINT, request_stop);
  std::signal(SIGTERM, request_stop);
  const SimulationReport report = simulate(config, progress, &stop_requested);
  if (progress) std::fputs("\n", stderr);
  const int status = print(output(report, sim.json, encoding));
  if (stop_signal != 0) {
    // Die of the signal, as a program stopped by it does: 130 for Ctrl-C, 143 for SIGTERM.
    const int sig = stop_signal;
    std::signal(sig, SIG_DFL);
    std::raise(sig);
  }
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  return status;
}

}  // namespace morvane::cli
