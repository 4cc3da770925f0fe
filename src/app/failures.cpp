#include "app/failures.hpp"

#include <algorithm>
#include <string_view>
#include <vector>

#include "app/cli.hpp"

namespace morvane::cli {
namespace {

// The words joined with "、".
std::string listed(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& word : words)
    out += (out.empty() ? "" : "、") + typed(word);
  return out;
}

// The options nobody knows among what was left over. Everything after the first "--" is an
// argument, whatever it looks like.
std::vector<std::string> unknown_options(const std::vector<std::string>& extras) {
  std::vector<std::string> unknown;
  for (auto it = extras.begin(); it != std::find(extras.begin(), extras.end(), "--"); ++it) {
    if (it->size() > 1 && it->front() == '-') unknown.push_back(it->substr(0, it->find('=')));
  }
  return unknown;
}

// What was left over: options nobody knows, and arguments nobody takes.
std::string leftovers(std::vector<std::string> extras, const CLI::App* command) {
  const std::vector<std::string> unknown = unknown_options(extras);
  const auto mark = std::find(extras.begin(), extras.end(), "--");
  if (unknown.size() == 1) return "没有 " + typed(unknown.front()) + " 这个选项";
  if (!unknown.empty()) return "没有这些选项：" + listed(unknown);
  if (mark != extras.end()) extras.erase(mark);
  if (command == nullptr) return "游戏本身不带参数（名字在开局后输入），多出了：" + listed(extras);
  if (command->get_name() == "replay") return "只要一个回放码或文件，多出了：" + listed(extras);
  return "多出了参数：" + listed(extras);
}

// The option an error is about: the first word of CLI11's message that names one.
const CLI::Option* option_named_in(const CLI::App* app, const CLI::App* command,
                                   std::string_view message) {
  while (!message.empty()) {
    const std::size_t end = std::min(message.find_first_of(":= ,"), message.size());
    const std::string word(message.substr(0, end));
    message.remove_prefix(std::min(end + 1, message.size()));
    if (word.empty()) continue;
    const CLI::Option* option = command ? command->get_option_no_throw(word) : nullptr;
    if (option == nullptr) option = app->get_option_no_throw(word);
    if (option != nullptr) return option;
  }
  return nullptr;
}

std::string option_name(const CLI::Option* option) {
  const auto& longs = option->get_lnames();
  if (!longs.empty()) return "--" + longs.front();
  const auto& shorts = option->get_snames();
  return shorts.empty() ? option->get_option_text() : "-" + shorts.front();
}

std::string what_went_wrong(const CLI::App* app, const CLI::App* command, const CLI::Error& error) {
  const std::vector<std::string> extras = app->remaining(true);
  if (dynamic_cast<const CLI::ExtrasError*>(&error)) return leftovers(extras, command);
  // "replay --bogus" names an option nobody knows before it lacks a code.
  if (dynamic_cast<const CLI::RequiredError*>(&error) && !unknown_options(extras).empty()) {
    return leftovers(extras, command);
  }
  const CLI::Option* option = option_named_in(app, command, error.what());
  if (option == nullptr) return "无法理解这个命令行";
  if (dynamic_cast<const CLI::RequiredError*>(&error)) {
    return "缺少参数：" + option->get_description();
  }
  if (option->count() > 1) return option_name(option) + " 只能给一次";
  if (option->get_items_expected_min() > 0) return option_name(option) + " 后面要跟一个值";
  return option_name(option) + " 不带值";
}

}  // namespace

std::string describe_failure(const CLI::App* app, const CLI::Error& error) {
  const std::vector<CLI::App*> commands = app->get_subcommands();
  const CLI::App* command = commands.empty() ? nullptr : commands.front();
  return usage_message(what_went_wrong(app, command, error),
                       command ? command->get_name() : std::string{});
}

std::string help_refusal(const CLI::App* app) {
  const std::vector<CLI::App*> commands = app->get_subcommands();
  const CLI::App* command = commands.empty() ? nullptr : commands.front();
  std::string why;
  if (const std::vector<std::string> extras = app->remaining(true); !extras.empty()) {
    why = leftovers(extras, command);
  }
  for (const CLI::App* asked : {app, command}) {
    const CLI::Option* help = asked != nullptr ? asked->get_help_ptr() : nullptr;
    if (help == nullptr || !why.empty()) continue;
    for (const std::string& value : help->results()) {
      if (value != "true") why = option_name(help) + " 不带值";
    }
  }
  return why.empty() ? why : usage_message(why, command ? command->get_name() : std::string{});
}

}  // namespace morvane::cli
