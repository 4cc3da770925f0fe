#include "app/help.hpp"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "app/highlights.hpp"
#include "app/options.hpp"
#include "app/simulate.hpp"
#include "app/text_layout.hpp"
#include "terminal/platform.hpp"

namespace morvane::cli {
namespace {

// An option's or a command's line: its name at the left, its description from kColumn on (on
// the next line when the name is wider). The lines are wrapped to the terminal afterwards.
constexpr int kColumn = 30;

std::string entry(const std::string& name, const std::string& description) {
  std::string out = "  " + name;
  const int width = 2 + display_width(name);
  if (width + 2 > kColumn) {
    out += "\n";
    out.append(kColumn, ' ');
  } else {
    out.append(static_cast<std::size_t>(kColumn - width), ' ');
  }
  return out + description + "\n";
}

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
      out += entry(command->get_name(), command->get_description());
    return out;
  }

  std::string make_option(const CLI::Option* opt, bool is_positional) const override {
    return entry(name_of(opt, is_positional), opt->get_description());
  }

 private:
  // "-h, --help", "--seed N", "--odds[=verbose]"; a positional argument by the Chinese name
  // its option text gives it. Never CLI11's type and check descriptions.
  static std::string name_of(const CLI::Option* opt, bool is_positional) {
    const std::string& text = opt->get_option_text();
    if (is_positional) return text.empty() ? opt->get_name(true) : text;
    std::string name;
    for (const std::string& s : opt->get_snames())
      name += (name.empty() ? "-" : ", -") + s;
    for (const std::string& l : opt->get_lnames())
      name += (name.empty() ? "--" : ", --") + l;
    if (text.empty()) return name;
    return name + (text.front() == '[' ? "" : " ") + text;
  }

  std::string usage_;
  std::string footer_;
};

const char* const kExitStatuses =
    "退出状态：\n"
    "  0    成功\n"
    "  1    输出无法写入（标准错误上会说“morvane: 写入失败：”和原因）\n"
    "  2    选项有误；输入有误或太大；回放码损坏、来自更新的版本、太大、太长或与本版本不符；"
    "找不到文件\n"
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

int help_width() {
  // COLUMNS first, as the shell or the user set it; then the terminal's own width.
  if (const char* columns = std::getenv("COLUMNS")) {
    if (const auto n = parse_count(columns, 1, 10000)) return std::max(static_cast<int>(*n), 40);
  }
  const int columns = platform::terminal_columns();
  return columns > 0 ? std::max(columns, 40) : 80;
}

std::string game_usage() {
  return "用法：morvane [选项]                        在终端里玩一局\n"
         "      morvane replay [选项] 回放码|文件|-   重放一场战斗\n"
         "      morvane simulate [选项] 名字行...     静默地打很多局，统计各队胜率\n"
         "      morvane rank [选项] 参赛者...         让参赛者两两对战，排出谁最强\n"
         "      morvane highlights [选项] 名字行...   挑出值得分享的战斗和它们的回放码\n"
         "      morvane history [N]                   列出最近玩过的N局\n";
}

std::string game_description() {
  return "Morvane：输入各队人物的名字，看他们自己打起来。每个名字都变成一个有血量、攻击、防御、"
         "魔力和属性的人物；十二个固定的名字是有专属技能的特殊人物。";
}

namespace {

const char* const kModes =
    "模式（开局时选择）：\n"
    "  1 正常模式          任意多队，每队输入一行用 / 隔开的名字\n"
    "  2 疯狂阿瓦达模式    每个普通人物都满层施放杀戮咒，血量是平时的五十倍\n"
    "  3 无尽模式          你的人物“你”对抗一关比一关强的敌人，每过一关选一项加成\n"
    "  4 与作者的战斗      三个挑战者对抗有2147483647点血的作者\n";

const char* const kAttributes =
    "属性（无尽模式和与作者的战斗开局时输入；正常模式里每个名字随机得到1～8中的一个；人物数值表"
    "的第五个数就是属性）：\n"
    "  1 火     火球术：打一个敌人；火盾护身：全队回血，还可能灼伤敌人\n"
    "  2 水     潮涌核心：冲击所有敌人；水牢：把一个敌人关进水牢\n"
    "  3 电     闪电风暴：连击一个敌人；雷电传导：在敌人之间跳五次\n"
    "  4 地     地裂术：连击一个敌人；地动山摇：打击一个敌人所在的整队\n"
    "  5 冰     冰冻咒：打一个敌人并把它冻住；天降冰锥：重击一个敌人并让它冻伤\n"
    "  6 疗     治疗：给最虚弱的队友回血；吸血：吸走血最多的敌人的血\n"
    "  7 黑     阿瓦达索命：每杀一个敌人叠一层，满四层时直接击杀血最多的敌人；神锋无影：在敌人"
    "之间弹跳的刀光\n"
    "  8 召     召唤棋子：召来一个棋子助战；生化攻击：从尸体中唤起丧尸\n"
    "  0        没有技能，只会普通攻击\n"
    "  9～24    特殊人物的技能：9 tessik，10 Varqueb，11 Prane，12 Halvic，14 vmrqtoa4817，"
    "15 w_k，16 杰哥，17 指挥官，21 mossu_ka，22 富兰克林，23 麦克，24 崔佛；13和18～20是召唤出来"
    "的苦力怕和士兵的技能（输入33按13算）\n";

const char* const kKeys =
    "战斗进行时的按键（只在标准输入是终端时；重放时也一样）：\n"
    "  空格或回车    跳到本场战斗结束\n"
    "  + 和 -        把节奏加快或放慢一倍，直到游戏结束\n"
    "  p             暂停，再按任意键继续\n"
    "  ?             显示这些按键，再按任意键继续\n"
    "  q 或 Ctrl-C   退出（会显示这局的种子）\n"
    "战斗之外，除了回答问题时，按下的键既不显示，也不会留给退出后的终端；在终端里按 Ctrl-D "
    "表示输入结束，之后的每个问题都读到输入结束。\n";

const char* const kRecords =
    "记录：在终端里玩完的每一局（时间、模式、种子、队伍、结果和回放码）都记在状态文件夹的 "
    "history.jsonl 里：$XDG_STATE_HOME/morvane（默认 ~/.local/state/morvane），Windows 上是 "
    "%LOCALAPPDATA%\\morvane；只保留最近1000局。用 morvane history 查看；--no-history "
    "或设置环境变量 MORVANE_NO_HISTORY 就不记。无尽模式结束时会显示最好成绩。\n";

}  // namespace

std::string game_footer() {
  return footer(
      std::string(kModes) + "\n" + kAttributes + "\n" + kKeys + "\n" + kRecords +
          "\n"
          "在终端里，游戏结束后会显示种子和重放这局的命令（命令单独一行，三击就能整行复制）"
          "，例如：\n"
          "  种子：12345\n"
          "  回放：\n"
          "  morvane replay MV1-...\n",
      "  printf '1\\n2\\n甲/乙\\n丙/丁\\n' | morvane --seed 11 --no-pause\n"
      "      从管道输入一整局：正常模式，两队，甲和乙对丙和丁，不停顿\n"
      "  morvane simulate 甲/乙/丙 丁/戊/己\n"
      "      两队各三人打" +
          std::to_string(SimulationConfig{}.games) +
          "局，统计各队的胜率\n"
          "  morvane --record fight.txt; morvane replay --speed 4 fight.txt\n"
          "      记下一局的回放码，再以四倍速重放同一场战斗\n");
}

std::string replay_usage() {
  return "用法：morvane replay [选项] 回放码|文件|-\n";
}

std::string replay_footer() {
  return footer(
      "回放码是 MV1- 加上一串字母、数字、- 和 _：一局的种子、游戏读到的每个回答、回合上限，"
      "以及整段叙述的校验值。重放前先静默地把这一局打一遍：与这个版本讲的不一样的回放码（来自另一个"
      "版本）会被拒绝，而不会讲成另一场战斗。重放不读键盘，也不等按键。"
      "回放码中间的空格和换行会被略过；整行结束语、网页链接或文件（UTF-8或UTF-16）里的回放码都能"
      "找到；- 表示从标准输入读回放码。\n",
      "  morvane replay MV1-...\n"
      "  morvane replay --no-pause --color never fight.txt\n");
}

std::string history_usage() {
  return "用法：morvane history [N]\n";
}

std::string history_footer() {
  return footer(
      "每局一行：结束的时间、模式、种子、队伍和结果；下一行是重放这局的命令。最后是无尽模式的最好"
      "成绩。记录里的名字照原样显示，其中的控制字符显示成 ^[ 这样的文字。损坏的记录会被略过，"
      "并在标准错误上说明。\n",
      "  morvane history\n"
      "  morvane history 50\n");
}

std::string simulate_usage() {
  return "用法：morvane simulate [选项] 名字行...\n";
}

std::string simulate_footer() {
  return footer(
      "第i局用种子 S+i 来打，所以结果与线程数无关；任何一局都可以用 morvane --seed S+i "
      "和同样的名字行在终端里观看。至少要有两队。\n",
      "  morvane simulate --games 20000 --seed 1 甲/乙/丙 丁/戊/己\n"
      "  morvane simulate --mode 2 --json 甲/乙 丙/丁\n"
      "  morvane simulate --json --merge shard1.json shard2.json\n");
}

std::string rank_usage() {
  return "用法：morvane rank [选项] 参赛者...\n"
         "      morvane rank [选项] --from 文件\n"
         "      morvane rank [--json|--csv] --merge 结果文件...\n";
}

std::string rank_footer() {
  return footer(
      "每个参赛者是一行用 / "
      "隔开的名字（一个队），或一个名字。每对参赛者打G局，前一半（G/2向上取整）"
      "由赛程里的第一个当第1队，后一半换过来。第p对的第k局用种子 S+p×G+k，所以第p对的战绩可以用 "
      "simulate 重现：simulate --seed S --first-game p×G --games H 甲 乙，再加上 simulate --seed S "
      "--first-game p×G+H --games G-H 乙 甲（H是G/2向上取整，甲是赛程里这一对的第一个，--json "
      "结果的“results”里列着每对是谁）。两两对战时，第0对是第1个和第2个参赛者，接着是第1个和第3个，"
      "依次类推。\n"
      "从各对的战绩按Bradley-Terry模型拟合出每个参赛者的强弱，换算成等级分：1500是平均水平，高400"
      "分约为10比1的胜算。无人生还和超过回合上限的局各算半胜；另外每人算作与一个平均水平的对手打平"
      "一局，所以全胜的参赛者也有一个有限的等级分。95%区间是等级分可能在的范围：两人的区间不重叠，"
      "名次就可信；重叠时，名次可能颠倒。\n"
      "Ctrl-C 会停下，输出已完成的局的排名，并标明已中断。\n",
      "  morvane rank --games 1000 甲 乙 丙 丁/戊\n"
      "  morvane rank --from names.txt --opponents 20 --csv\n"
      "  morvane rank --from names.txt --first-pair 0 --pairs 2000 --json > a.json\n"
      "  morvane rank --merge a.json b.json\n");
}

std::string highlights_usage() {
  return "用法：morvane highlights [选项] 名字行...\n";
}

std::string highlights_footer() {
  return footer(
      "第i场用种子 S+i 来打（和 simulate 的第i局相同），挑出三种战斗，每种前K场，各附种子、数字和"
      "回放码：最大的逆转——最后获胜的一方在战斗中胜率最低的时候（每回合结束时像 --odds 那样推演" +
          std::to_string(kContinuations) + "次来估计，只看前" + std::to_string(kJudgedRounds) +
          "回合；用 morvane replay --odds 回放可以看到这一刻）；最接近的结局——获胜方剩下的血占满血"
          "的比例最小；最长的战斗——回合最多（超过回合上限的不算）。结果与线程数无关。\n"
          "Ctrl-C 会停下，输出已看完的场里挑出的战斗，并标明已中断。\n",
      "  morvane highlights 甲/乙/丙 丁/戊/己\n"
      "  morvane highlights --fights 5000 --top 5 --json 甲/乙 丙/丁\n");
}

std::string version_text(const std::string& version) {
  return "morvane " + version +
         "\n"
         "版权所有 (C) 2026 The Morvane authors\n"
         "许可证：MIT <https://opensource.org/licenses/MIT>\n"
         "这是自由软件：您可以自由地修改和重新发布它。\n"
         "在法律允许的范围内，没有任何担保。\n";
}

}  // namespace morvane::cli
