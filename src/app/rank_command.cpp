#include "app/rank_command.hpp"

#include <optional>
#include <string_view>

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/options.hpp"
#include "app/rank_json.hpp"
#include "app/rank_report.hpp"
#include "app/system_reason.hpp"

namespace morvane::cli {
namespace {

int refuse(const std::string& why) {
  return usage_error(why, "rank");
}

// A file of entrants, or of a shard's results, at most this large: a hundred thousand entrants
// of a few names each, a shard of about two hundred thousand pairs.
constexpr std::size_t kMaxEntrantsBytes = 8 << 20;
constexpr std::size_t kMaxShardBytes = 16 << 20;

std::string output(const RankReport& report, const RankCommand& rank) {
  const Ranking ranking = morvane::ranking(report);
  if (rank.json) return format_rank_json(report, ranking);
  if (rank.csv) return format_rank_csv(report, ranking);
  return text_for_stdout(format_rank(report, ranking));
}

int run_merge(const RankCommand& rank) {
  if (rank.entrants.empty()) return refuse("--merge 要给出结果文件");
  std::vector<RankReport> shards;
  // What the shards span, gaps between their ranges included, is bounded as one run's pairs
  // are: each shard's table is that large.
  std::int64_t spanned = 0;
  for (const std::string& path : rank.entrants) {
    std::string why;
    const auto text = read_results_file(path, kMaxShardBytes, why);
    if (!text) return refuse(why);
    ParsedRank parsed = parse_rank(*text);
    if (!parsed.report)
      return refuse(typed(path) + " 不是 rank --json 写出的结果：" + parsed.error);
    spanned += parsed.report->config.pairs;
    if (spanned > kMaxPairs)
      return refuse("不能合并：分片合起来超过了" + std::to_string(kMaxPairs) + "对");
    shards.push_back(std::move(*parsed.report));
  }
  ParsedRank merged = merge_ranks(shards);
  if (!merged.report) {
    std::string files;
    for (std::size_t k = 0; k < rank.entrants.size(); ++k)
      files += "\n  第" + std::to_string(k + 1) + "个：" + typed(rank.entrants[k]);
    return refuse("不能合并：" + merged.error + files);
  }
  if (merged.report->ranges.size() > 1) say("注意：分片之间有缺少的对，排名只算给出的对");
  return print(output(*merged.report, rank));
}

// The entrants of a file, one a line (a last line end is not an entrant), in UTF-8 as the
// command line's are; or nothing, with the reason in `why`.
std::optional<std::vector<std::string>> entrants_of(const std::string& path, std::string& why) {
  const FileText file = read_capped(path, kMaxEntrantsBytes);
  if (file.status != FileText::Status::Read) {
    why = file.status == FileText::Status::TooLarge
              ? "参赛者文件 " + typed(path) + " 太大"
              : "读不了参赛者文件 " + typed(path) + "：" + system_reason(file.error);
    return std::nullopt;
  }
  std::string_view text = file.text;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // a byte order mark
  std::vector<std::string> out;
  while (!text.empty()) {
    std::string_view line = text.substr(0, text.find('\n'));
    text.remove_prefix(std::min(line.size() + 1, text.size()));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) {
      why = "参赛者文件 " + typed(path) + " 的第" + std::to_string(out.size() + 1) + "行是空的";
      return std::nullopt;
    }
    if (out.size() == static_cast<std::size_t>(kMaxEntrants)) {
      why = "最多" + std::to_string(kMaxEntrants) + "个参赛者";
      return std::nullopt;
    }
    out.push_back(typed(line));
  }
  return out;
}

// Why the schedule cannot be played as asked, or empty; sets the config's pairs.
std::string schedule_fault(const RankCommand& rank, RankConfig& c) {
  const auto n = static_cast<std::int64_t>(c.entrants.size());
  if (!rank.opponents.empty()) {
    const auto k = parse_count(rank.opponents, 1, n - 1);
    if (!k)
      return "--opponents 要是1～" + std::to_string(n - 1) + "（参赛者数减1）" +
             not_this(rank.opponents);
    c.opponents = static_cast<std::int32_t>(*k);
  }
  const Schedule schedule(static_cast<std::int32_t>(n), c.opponents, c.seed);
  if (schedule.size() > kSeeds / c.games) {
    return std::to_string(schedule.size()) + "对、每对" + std::to_string(c.games) +
           "局，超出了2^32个种子：少些参赛者、对手或局数";
  }
  const std::string whole = "赛程有" + std::to_string(schedule.size()) + "对（第0～" +
                            std::to_string(schedule.size() - 1) + "对）";
  const auto first = parse_count(rank.first_pair, 0, schedule.size() - 1);
  if (!first) return "--first-pair 超出了赛程：" + whole + not_this(rank.first_pair);
  c.first_pair = *first;
  const std::int64_t rest = schedule.size() - c.first_pair;
  const auto pairs = rank.pairs.empty() ? std::optional(rest) : parse_count(rank.pairs, 1, rest);
  if (!pairs) {
    return "第" + std::to_string(c.first_pair) + "对起的--pairs要是1～" + std::to_string(rest) +
           "：" + whole + not_this(rank.pairs);
  }
  c.pairs = *pairs;
  if (c.pairs > kMaxPairs) {
    return "一次最多打" + std::to_string(kMaxPairs) + "对：用 --first-pair 和 --pairs 分成几次";
  }
  return {};
}

}  // namespace

void add_rank(CLI::App& app, RankCommand& rank, const std::string& version) {
  const RankConfig& d = kRankDefaults;
  rank.cmd = app.add_subcommand("rank", "让参赛者两两静默对战很多局，排出谁最强");
  rank.cmd->add_option("--mode", rank.batch.mode, batch_modes_help(d.mode))->option_text("1|2");
  rank.cmd
      ->add_option("--games", rank.games, "每对打的局数，两边各当一半的第1队" + by_default(d.games))
      ->option_text("G");
  rank.cmd->add_option("--seed", rank.batch.seed, "第p对的第k局用种子 S+p×G+k" + by_default(d.seed))
      ->option_text("S");
  rank.cmd
      ->add_option("--opponents", rank.opponents,
                   "每个参赛者只对由种子抽出的K个对手，而不是所有人（参赛者很多时）")
      ->option_text("K");
  rank.cmd
      ->add_option("--first-pair", rank.first_pair, "从赛程的第P对打起，好分给多台机器（默认0）")
      ->option_text("P");
  rank.cmd->add_option("--pairs", rank.pairs, "只打N对（默认：到赛程结束）")->option_text("N");
  rank.cmd->add_option("--threads", rank.batch.threads, "线程数（默认：CPU核数）")
      ->option_text("T");
  rank.cmd
      ->add_option("--max-rounds", rank.batch.max_rounds,
                   "一场战斗过了R回合仍未分出胜负就不再打，算作未分胜负" + by_default(d.max_rounds))
      ->option_text("R");
  rank.cmd->add_option("--from", rank.from, "从文件读参赛者，每行一个")->option_text("文件");
  rank.cmd->add_flag("--json", rank.json, "以JSON格式输出结果（含每对的战绩）");
  rank.cmd->add_flag("--csv", rank.csv, "以CSV格式输出排名表");
  rank.cmd->add_flag("--merge", rank.merge,
                     "不打，而是把几个分片的--json结果文件加起来，输出合并后的排名");
  rank.cmd->set_version_flag("--version", version, "显示版本并退出");
  rank.cmd
      ->add_option("entrants", rank.entrants,
                   "参赛者：一行用 / 隔开的名字，或一个名字（--merge时是结果文件）")
      ->option_text("参赛者...");
  chinese_help(*rank.cmd, rank_usage(), rank_footer());
}

int run_rank(const RankCommand& rank) {
  if (rank.json && rank.csv) return refuse("--json 和 --csv 只能选一个");
  if (rank.merge) return run_merge(rank);
  std::string why;
  const auto settings = read_batch_options(rank.batch, why);
  if (!settings) return refuse(why);
  const auto games = parse_count(rank.games, 1, kSeeds);
  if (!games) return refuse("--games 要是1～4294967296之间的数" + not_this(rank.games));
  RankConfig config;
  config.mode = settings->mode;
  config.seed = settings->seed;
  config.threads = settings->threads;
  config.max_rounds = settings->max_rounds;
  config.games = *games;
  if (!rank.from.empty()) {
    if (!rank.entrants.empty()) return refuse("参赛者要么用 --from 从文件读，要么写在命令行上");
    auto read = entrants_of(rank.from, why);
    if (!read) return refuse(why);
    config.entrants = std::move(*read);
  } else {
    for (const std::string& entrant : rank.entrants)
      config.entrants.push_back(typed(entrant));
  }
  if (std::string fault = entrants_fault(config.entrants); !fault.empty()) return refuse(fault);
  if (std::string fault = schedule_fault(rank, config); !fault.empty()) return refuse(fault);

  const auto progress = progress_bar(config.pairs * config.games);
  StopOnSignal signals;
  const RankReport report = morvane::rank(config, progress, &signals.stop());
  end_progress(progress);
  return signals.finish(print(output(report, rank)));
}

}  // namespace morvane::cli
