#include "app/history_command.hpp"

#include <cerrno>
#include <memory>

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/history.hpp"
#include "app/options.hpp"
#include "app/system_reason.hpp"
#include "terminal/platform.hpp"
#include "terminal/visible_text.hpp"

namespace morvane::cli {
namespace {

// "第3、7、9行" for the first few, and how many more.
std::string line_numbers(const std::vector<std::size_t>& numbers) {
  constexpr std::size_t kNamed = 5;
  std::string text = "第";
  for (std::size_t k = 0; k < numbers.size() && k < kNamed; ++k)
    text += (k == 0 ? "" : "、") + std::to_string(numbers[k]);
  text += "行";
  if (numbers.size() > kNamed) text += "等" + std::to_string(numbers.size()) + "行";
  return text;
}

// UTF-8 text written as a terminal shows it: the names and codes in it come from a file anyone
// can write, and none of them may command the terminal.
int show_as_text(const std::string& utf8) {
  if (!speaks_gbk()) return print(visible_utf8(utf8));
  const auto to_gbk = platform::utf8_to_gbk();
  return print(visible_on_terminal(utf8, to_gbk.get()));
}

}  // namespace

void add_history(CLI::App& app, HistoryCommand& history, const std::string& version) {
  history.cmd = app.add_subcommand("history", "列出在终端里玩过的最近几局，以及重放每一局的命令");
  history.cmd->set_version_flag("--version", version, "显示版本并退出");
  history.cmd
      ->add_option("N", history.count,
                   "列出最近N局（1到" + std::to_string(history::kKept) + "，默认10）")
      ->option_text("N");
  chinese_help(*history.cmd, history_usage(), history_footer());
}

int run_history(const HistoryCommand& history) {
  const auto count = parse_count(history.count, 1, static_cast<std::int64_t>(history::kKept));
  if (!count) {
    return usage_error("N 要是1到" + std::to_string(history::kKept) + "之间的整数，不能是“" +
                           typed(history.count) + "”",
                       "history");
  }
  const std::string folder = platform::state_folder();
  const history::Read read = history::read(folder);
  if (read.error != 0 && read.error != ENOENT)
    return refused("读不了历史记录 " + typed(read.file) + "：" + system_reason(read.error));
  if (!read.damaged.empty()) {
    say("历史记录 " + typed(read.file) + " 的" + line_numbers(read.damaged) + "已损坏，略过不列");
  }
  if (read.entries.empty()) {
    const std::string where = folder.empty() ? "状态文件夹" : typed(read.file);
    return show_as_text("还没有记录：在终端里玩完的每一局都会记在 " + where + " 里\n");
  }
  return show_as_text(history::listing(read.entries, static_cast<std::size_t>(*count)));
}

}  // namespace morvane::cli
