#include "app/help.hpp"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane::cli {
namespace {

class ChineseHelp final : public CLI::Formatter {
 public:
  ChineseHelp(std::string usage, std::string footer)
      : usage_(std::move(usage)), footer_(std::move(footer)) {
    label("Positionals", "参数");
  }

  std::string make_help(const CLI::App* app, std::string, CLI::AppFormatMode mode) const override {
    std::string out = usage_ + "\n" + app->get_description() + "\n";
    out += make_positionals(app);
    out += make_groups(app, mode);
    out += make_subcommands(app, mode);
    return out + "\n" + footer_;
  }

  std::string make_group(std::string group, bool is_positional,
                         std::vector<const CLI::Option*> opts) const override {
    std::string out = "\n" + group + "：\n";
    for (const CLI::Option* opt : opts)
      out += make_option(opt, is_positional);
    return out;
  }

  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode) const override {
    const std::vector<const CLI::App*> commands = app->get_subcommands({});
    if (commands.empty()) return {};
    std::string out = "\n命令：\n";
    for (const CLI::App* command : commands)
      out += make_subcommand(command);
    return out;
  }

  // The value's form as the option gives it (e.g. "auto|always|never"), never CLI11's type and
  // check descriptions.
  std::string make_option_opts(const CLI::Option* opt) const override {
    return opt->get_option_text().empty() ? std::string{} : " " + opt->get_option_text();
  }

 private:
  std::string usage_;
  std::string footer_;
};

const char* const kExitStatuses =
    "退出状态：\n"
    "  0    成功\n"
    "  1    输出无法写入（标准错误上会说“morvane: 写入失败：”和原因）\n"
    "  2    选项有误；输入有误或太大；回放码损坏、来自更新的版本、太大或与这个版本不符\n"
    "  129  终端挂断（SIGHUP）\n"
    "  130  Ctrl-C（SIGINT）\n"
    "  131  SIGQUIT\n"
    "  141  输出的读取方已经关闭（管道断开）\n"
    "  143  SIGTERM\n";

// What a command says below its options: about it, its examples, then the exit statuses.
std::string footer(std::string_view about, std::string_view examples) {
  std::string out(about);
  out += "\n例子：\n";
  out += examples;
  out += "\n";
  return out + kExitStatuses;
}

}  // namespace

void chinese_help(CLI::App& app, std::string usage, std::string footer) {
  app.formatter(std::make_shared<ChineseHelp>(std::move(usage), std::move(footer)));
  if (CLI::Option* help = app.get_help_ptr()) help->group("选项");
}

void chinese_options(CLI::App& app) {
  app.option_defaults()->group("选项");
  app.set_help_flag("-h,--help", "显示这份说明并退出");
}

std::string game_usage() {
  return "用法：morvane [选项]                     在终端里玩一局\n"
         "      morvane replay [选项] 回放码|文件   重放一场战斗\n"
         "      morvane simulate [选项] 名字行...   静默地打很多局，统计各队胜率\n";
}

std::string game_footer() {
  return footer(
      "模式（开局时选择）：\n"
      "  1 正常模式          任意多队，每队输入一行用 / 隔开的名字\n"
      "  2 疯狂阿瓦达模式    每个普通人物都满层施放杀戮咒，血量是平时的五十倍\n"
      "  3 无尽模式          你的人物“你”对抗一关比一关强的敌人，每过一关选一项加成\n"
      "  4 与作者的战斗      三个挑战者对抗有2147483647点血的作者\n"
      "\n"
      "战斗进行时的按键（只在标准输入是终端时）：\n"
      "  空格或回车    跳到本场战斗结束\n"
      "  + 和 -        把节奏加快或放慢一倍，直到游戏结束\n"
      "  p             暂停，再按任意键继续\n"
      "  Ctrl-C        退出\n"
      "\n"
      "在终端里，游戏结束后会显示种子和回放码，例如：\n"
      "  种子：12345　回放：morvane replay MV1-...\n",
      "  printf '1\\n2\\n甲/乙\\n丙/丁\\n' | morvane --seed 11 --no-pause\n"
      "      从管道输入一整局：正常模式，两队，甲和乙对丙和丁，不停顿\n"
      "  morvane simulate 甲/乙/丙 丁/戊/己\n"
      "      两队各三人打1000局，统计各队的胜率\n"
      "  morvane --record fight.txt; morvane replay --speed 4 fight.txt\n"
      "      记下一局的回放码，再以四倍速重放同一场战斗\n");
}

std::string replay_usage() {
  return "用法：morvane replay [选项] 回放码|文件|-\n";
}

std::string replay_footer() {
  return footer(
      "回放码是 MV1- 加上一串字母、数字、- 和 "
      "_：一局的种子、游戏读到的每个回答、回合上限，\n"
      "以及整段叙述的校验值。重放前先静默地把这一局打一遍：与这个版本讲的不一样的\n"
      "回放码（来自另一个版本）会被拒绝，而不会讲成另一场战斗。重放不读键盘，也不等按键。\n"
      "回放码中间的空格和换行会被略过；整行结束语、网页链接或文件（UTF-8或UTF-16）里的\n"
      "回放码都能找到；- 表示从标准输入读回放码。\n",
      "  morvane replay MV1-...\n"
      "  morvane replay --no-pause --color never fight.txt\n");
}

std::string simulate_usage() {
  return "用法：morvane simulate [选项] 名字行...\n";
}

std::string simulate_footer() {
  return footer(
      "第i局用种子 S+i 来打，所以结果与线程数无关；任何一局都可以用\n"
      "morvane --seed S+i 和同样的名字行在终端里观看。\n",
      "  morvane simulate --games 20000 --seed 1 甲/乙/丙 丁/戊/己\n"
      "  morvane simulate --mode 2 --json 甲/乙 丙/丁\n");
}

std::string version_text(const std::string& version) {
  return "morvane " + version +
         "\n"
         "Copyright (C) 2026 The Morvane authors.\n"
         "License: MIT <https://opensource.org/licenses/MIT>.\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}

}  // namespace morvane::cli
