#include "app/highlights_command.hpp"

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/highlights_report.hpp"
#include "app/options.hpp"
#include "app/simulate.hpp"
#include "model/slots.hpp"

namespace morvane::cli {
namespace {

int refuse(const std::string& why) {
  return usage_error(why, "highlights");
}

// The most of each kind shown.
constexpr std::int64_t kMaxTop = 100;

}  // namespace

void add_highlights(CLI::App& app, HighlightsCommand& h, const std::string& version) {
  const HighlightsConfig& d = kHighlightsDefaults;
  h.cmd = app.add_subcommand(
      "highlights", "静默地打很多场，挑出值得分享的：最大的逆转、最接近的结局、最长的战斗");
  h.cmd->add_option("--mode", h.batch.mode, batch_modes_help(d.mode))->option_text("1|2");
  h.cmd->add_option("--fights", h.fights, "看的场数" + by_default(d.fights))->option_text("N");
  h.cmd->add_option("--top", h.top, "每种挑出几场" + by_default(d.top))->option_text("K");
  h.cmd->add_option("--seed", h.batch.seed, "第0场的种子，第i场用S+i" + by_default(d.seed))
      ->option_text("S");
  h.cmd->add_option("--threads", h.batch.threads, "线程数（默认：CPU核数）")->option_text("T");
  h.cmd
      ->add_option(
          "--max-rounds", h.batch.max_rounds,
          "一场战斗过了R回合仍未分出胜负就不再打，回放码也用这个上限" + by_default(d.max_rounds))
      ->option_text("R");
  h.cmd->add_flag("--json", h.json, "以JSON格式输出结果");
  h.cmd->set_version_flag("--version", version, "显示版本并退出");
  h.cmd->add_option("lines", h.lines, "每队一行用 / 隔开的名字")->option_text("名字行...");
  chinese_help(*h.cmd, highlights_usage(), highlights_footer());
}

int run_highlights(const HighlightsCommand& h) {
  std::string why;
  const auto settings = read_batch_options(h.batch, why);
  if (!settings) return refuse(why);
  const auto fights = parse_count(h.fights, 1, kSeeds);
  if (!fights) return refuse("--fights 要是1～4294967296之间的数" + not_this(h.fights));
  const auto top = parse_count(h.top, 1, kMaxTop);
  if (!top) return refuse("--top 要是1～" + std::to_string(kMaxTop) + not_this(h.top));
  if (h.lines.size() < 2) return refuse("至少要两队：每队给一行用 / 隔开的名字");
  if (h.lines.size() > static_cast<std::size_t>(kMaxSlot)) return refuse("最多1004队");
  HighlightsConfig config;
  config.mode = settings->mode;
  config.seed = settings->seed;
  config.threads = settings->threads;
  config.max_rounds = settings->max_rounds;
  config.fights = *fights;
  config.top = *top;
  for (const std::string& line : h.lines)
    config.lines.push_back(typed(line));

  const auto progress = progress_bar(config.fights);
  StopOnSignal signals;
  const HighlightsReport report = morvane::highlights(config, progress, &signals.stop());
  end_progress(progress);
  const std::string out =
      h.json ? format_highlights_json(report) : text_for_stdout(format_highlights(report));
  return signals.finish(print(out));
}

}  // namespace morvane::cli
