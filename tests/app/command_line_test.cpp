// The command line as a person meets it: every refusal in Chinese and in one form, the help laid
// out for the terminal, and both in the console's encoding.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/text_layout.hpp"
#include "support/process.hpp"
#include "terminal/platform.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// A refused command line. `hint` is the command whose help the refusal points to ("" for the
// game's own); nullptr when the command line was right and what it named was refused.
struct Refusal {
  std::string args;
  const char* hint;
  std::string says;
};

// The words of a message that are English: runs of letters that are not an option (-x,
// --name) or a value one types after it, a command or the game's name, a path, the start of a
// replay code, or something the command line typed.
std::vector<std::string> english_words(const std::string& text, const std::string& typed) {
  static const std::set<std::string> names = {
      "morvane", "replay", "simulate", "rank",  "highlights", "history", "Morvane", "MV1",
      "auto",    "always", "never",    "utf-8", "gbk",        "verbose", "dark",    "light"};
  std::vector<std::string> found;
  std::istringstream words(std::regex_replace(text, std::regex("[^\\x21-\\x7e]+"), " "));
  for (std::string word; words >> word;) {
    word = std::regex_replace(word, std::regex("^[^-/A-Za-z0-9]+|[^A-Za-z0-9]+$"), "");
    const bool letters = std::regex_search(word, std::regex("[A-Za-z]{2,}"));
    const bool allowed = word.starts_with("-") || word.find('/') != std::string::npos ||
                         names.contains(word) || typed.find(word) != std::string::npos;
    if (letters && !allowed) found.push_back(word);
  }
  return found;
}

// A piped game of seed 4 recorded in a file of that name; its path.
std::string recorded_game(const std::string& name) {
  const std::string path = temp_path(name);
  EXPECT_EQ(shell("printf '1\\n2\\n甲\\n乙\\n' | " + kMorvane + " --seed 4 --no-pause --record " +
                  path + " >/dev/null")
                .status,
            0);
  return path;
}

// Every refusal exits with status 2 and says, in Chinese on one line of standard error, what
// was wrong, then where the help is.
void expect_refused(const std::vector<Refusal>& refusals) {
  for (const Refusal& r : refusals) {
    const Outcome got = run_morvane(r.args, "", "2>&1 >/dev/null");  // stderr only
    EXPECT_EQ(got.status, 2) << r.args;
    const std::string hint = r.hint == nullptr ? ""
                                               : "用 morvane " + std::string(r.hint) +
                                                     (*r.hint ? " " : "") + "--help 查看用法\n";
    EXPECT_TRUE(got.out.starts_with("morvane: ")) << r.args << ": " << got.out;
    EXPECT_TRUE(got.out.ends_with("\n" + hint)) << r.args << ": " << got.out;
    EXPECT_EQ(std::count(got.out.begin(), got.out.end(), '\n'), hint.empty() ? 1 : 2)
        << r.args << ": " << got.out;
    EXPECT_NE(got.out.find(r.says), std::string::npos) << r.args << ": " << got.out;
    EXPECT_EQ(english_words(got.out, r.args), std::vector<std::string>{})
        << r.args << ": " << got.out;
  }
}

TEST(CommandLine, EveryRefusalIsChineseInOneForm) {
  const std::string code_file = recorded_game("code");
  const std::string garbage = temp_path("garbage");
  std::ofstream(garbage) << "not a shard\n";

  expect_refused({
      {"--bogus", "", "没有 --bogus 这个选项"},
      {"--bogus=1 -x", "", "没有这些选项：--bogus、-x"},
      {"stray words", "", "多出了：stray、words"},
      {"-- --version", "", "多出了：--version"},
      {"--seed", "", "--seed 后面要跟一个值"},
      {"--seed abc", "", "--seed 要是十进制整数"},
      {"--seed 1 --seed 2", "", "--seed 只能给一次"},
      {"--speed=0", "", "0.01到1000"},
      {"--speed=", "", "0.01到1000"},
      {"--max-rounds -1", "", "--max-rounds"},
      {"--color purple", "", "只能是 auto、always 或 never"},
      {"--encoding latin1", "", "只能是 auto、utf-8 或 gbk"},
      {"--odds=sometimes", "", "--odds=verbose"},
      {"--odds=", "", "--odds 只能不带值，或者写成 --odds=verbose，不能是“”"},
      {"--help=x", "", "--help 不带值"},
      {"-hx", "", "没有 -x 这个选项"},
      {"--record", "", "--record 后面要跟一个值"},
      {"--no-pause=maybe", "", "--no-pause 不带值"},
      {"--record ''", "", "--record 的文件名不能是空的"},
      {"--version=x", "", "--version 不带值"},
      {"replay", "replay", "缺少参数：回放码"},
      {"replay --bogus", "replay", "没有 --bogus 这个选项"},
      {"replay ''", "replay", "回放码或文件名不能是空的"},
      {"replay a b", "replay", "多出了：b"},
      {"replay --frobnicate " + code_file, "replay", "没有 --frobnicate 这个选项"},
      {"replay --seed 5 " + code_file, "replay", "回放码里的种子4"},
      {"replay --max-rounds 5 " + code_file, "replay", "回放码里的回合上限100000"},
      {"replay --color never --speed x " + code_file, "replay", "--speed"},
      {"replay MV1-AAAA", nullptr, "回放码已损坏"},
      {"replay hello", nullptr, "找不到文件：hello"},
      {"simulate", "simulate", "至少要两队"},
      {"simulate 甲/乙", "simulate", "至少要两队"},
      {"simulate --mode 3 甲 乙", "simulate", "--mode 只能是1或2"},
      {"simulate --games 0 甲 乙", "simulate", "--games"},
      {"simulate --games -5 甲 乙", "simulate", "--games"},
      {"simulate --first-game 4294967295 --games 2 甲 乙", "simulate", "超出了2^32个种子"},
      {"simulate --threads 0 甲 乙", "simulate", "--threads"},
      {"simulate --max-rounds 0 甲 乙", "simulate", "--max-rounds"},
      {"simulate --seed x 甲 乙", "simulate", "--seed 要是十进制整数"},
      {"simulate --games", "simulate", "--games 后面要跟一个值"},
      {"simulate --odds 甲 乙", "simulate", "没有 --odds 这个选项"},
      {"simulate --merge", "simulate", "--merge 要给出结果文件"},
      {"simulate --merge /nonexistent/shard.json", "simulate", "没有这个文件或目录"},
      {"simulate --merge " + garbage, "simulate", "不是 simulate --json 写出的结果"},
  });
  std::remove(code_file.c_str());
  std::remove(garbage.c_str());
}

TEST(CommandLine, RankAndHighlightsRefusalsAreChineseInOneForm) {
  const std::string garbage = temp_path("garbage");
  std::ofstream(garbage) << "not a shard\n";
  const std::string names = temp_path("names");
  std::ofstream(names) << "甲\n\n乙\n";

  expect_refused({
      {"rank", "rank", "至少要两个参赛者"},
      {"rank 甲", "rank", "至少要两个参赛者"},
      {"rank 甲 ''", "rank", "第2个参赛者是空的"},
      {"rank 甲/乙 丙 甲/乙", "rank", "第1个和第3个参赛者是同一个阵容"},
      {"rank --games 0 甲 乙", "rank", "--games"},
      {"rank --mode 3 甲 乙", "rank", "--mode 只能是1或2"},
      {"rank --threads 0 甲 乙", "rank", "--threads"},
      {"rank --max-rounds 0 甲 乙", "rank", "--max-rounds"},
      {"rank --seed x 甲 乙", "rank", "--seed 要是十进制整数"},
      {"rank --opponents 2 甲 乙", "rank", "--opponents 要是1～1"},
      {"rank --games 2147483648 甲 乙 丙", "rank", "超出了2^32个种子"},
      {"rank --first-pair 3 甲 乙 丙", "rank", "--first-pair 超出了赛程：赛程有3对"},
      {"rank --first-pair 1 --pairs 3 甲 乙 丙", "rank", "--pairs要是1～2"},
      {"rank --json --csv 甲 乙", "rank", "--json 和 --csv 只能选一个"},
      {"rank --from /nonexistent/names.txt", "rank", "没有这个文件或目录"},
      {"rank --from " + names + " 丙", "rank", "要么用 --from"},
      {"rank --from " + names, "rank", "的第2行是空的"},
      {"rank --odds 甲 乙", "rank", "没有 --odds 这个选项"},
      {"rank --merge", "rank", "--merge 要给出结果文件"},
      {"rank --merge " + garbage, "rank", "不是 rank --json 写出的结果"},
      {"highlights", "highlights", "至少要两队"},
      {"highlights 甲/乙", "highlights", "至少要两队"},
      {"highlights --fights 0 甲 乙", "highlights", "--fights"},
      {"highlights --fights 4294967297 甲 乙", "highlights", "--fights"},
      {"highlights --top 0 甲 乙", "highlights", "--top 要是1～100"},
      {"highlights --top 101 甲 乙", "highlights", "--top 要是1～100"},
      {"highlights --mode 4 甲 乙", "highlights", "--mode 只能是1或2"},
      {"highlights --threads 2000 甲 乙", "highlights", "--threads"},
      {"highlights --max-rounds 0 甲 乙", "highlights", "--max-rounds"},
      {"highlights --seed 1.5 甲 乙", "highlights", "--seed 要是十进制整数"},
      {"highlights --csv 甲 乙", "highlights", "没有 --csv 这个选项"},
  });
  std::remove(garbage.c_str());
  std::remove(names.c_str());
}

TEST(CommandLine, ThePaletteTheWindowAndTheHistoryAreRefusedInTheSameForm) {
  const std::string code_file = recorded_game("code-history");
  expect_refused({
      {"--palette white", "", "--palette 只能是 auto、dark 或 light，不能是“white”"},
      {"--palette", "", "--palette 后面要跟一个值"},
      {"replay --palette sepia " + code_file, "replay", "--palette 只能是 auto、dark 或 light"},
      {"replay --keep-open " + code_file, "replay", "没有 --keep-open 这个选项"},
      {"replay --no-history " + code_file, "replay", "没有 --no-history 这个选项"},
      {"--no-history=maybe", "", "--no-history 不带值"},
      {"history 0", "history", "N 要是1到1000之间的整数，不能是“0”"},
      {"history ten", "history", "N 要是1到1000之间的整数，不能是“ten”"},
      {"history 1001", "history", "N 要是1到1000之间的整数"},
      {"history 3 4", "history", "多出了参数：4"},
      {"history --seed 3", "history", "没有 --seed 这个选项"},
  });
  std::remove(code_file.c_str());
}

TEST(CommandLine, AfterTwoDashesOrACommandEveryWordIsAnArgument) {
  const std::string code_file = recorded_game("-dashed");
  // A file whose name starts with a dash, named after "--".
  EXPECT_EQ(shell("cd " + ::testing::TempDir() + " && " + kMorvane + " replay --no-pause -- " +
                  code_file.substr(code_file.rfind('/') + 1) + " >/dev/null")
                .status,
            0);
  const Outcome lines = run_morvane("simulate --games 3 --json -- 甲 --games", "");
  EXPECT_EQ(lines.status, 0);
  EXPECT_NE(lines.out.find("\"line\":\"--games\""), std::string::npos) << lines.out;
  // Teams may be called after the commands.
  const Outcome named = run_morvane("simulate --games 3 --json replay simulate", "");
  EXPECT_EQ(named.status, 0);
  EXPECT_NE(named.out.find("\"line\":\"replay\""), std::string::npos) << named.out;
  // "--" alone leaves the game as it was.
  EXPECT_EQ(run_morvane("--seed 3 --no-pause --", "1\n2\n甲\n乙\n").out,
            run_morvane("--seed 3 --no-pause", "1\n2\n甲\n乙\n").out);
  std::remove(code_file.c_str());
}

std::string help(const std::string& args, int columns) {
  return run_morvane(args + " --help", "", "2>&1 | cat", "COLUMNS=" + std::to_string(columns)).out;
}

// The runs of digits in a text: a wrap that split a number shows as a run that is not there.
std::multiset<std::string> numbers(const std::string& text) {
  std::multiset<std::string> found;
  const std::regex digits("[0-9]+");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), digits);
       it != std::sregex_iterator(); ++it)
    found.insert(it->str());
  return found;
}

TEST(CommandLine, TheHelpFitsTheTerminalWithoutSplittingANumber) {
  for (const std::string command : {"", "replay", "simulate", "rank", "highlights"}) {
    const std::string wide = help(command, 1000);
    for (const int columns : {40, 64, 80, 133}) {
      const std::string text = help(command, columns);
      std::istringstream lines(text);
      for (std::string line; std::getline(lines, line);)
        EXPECT_LE(display_width(line), columns) << command << " at " << columns << ": " << line;
      EXPECT_EQ(numbers(text), numbers(wide)) << command << " at " << columns;
    }
  }
  // A description goes on under itself.
  const std::string text = help("", 80);
  EXPECT_NE(text.find("\n  --seed N                    随机种子"), std::string::npos) << text;
  EXPECT_NE(text.find("\n                              的种子和输入重现同一局"), std::string::npos)
      << text;
  // Piped, it takes the width it is given, else 80.
  EXPECT_EQ(run_morvane("--help", "", "2>&1 | cat", "env -u COLUMNS").out, text);
}

TEST(CommandLine, TheHelpNamesEveryPartInChineseOrAsTyped) {
  const std::string game = help("", 80), replay = help("replay", 80);
  const std::string simulate = help("simulate", 80), rank = help("rank", 80);
  const std::string highlights = help("highlights", 80);
  for (const char* part : {"  -h, --help ", "  --odds[=verbose] ", "--color auto|always|never",
                           "属性", "  7 黑 ", "16 杰哥", "24 崔佛"})
    EXPECT_NE(game.find(part), std::string::npos) << part;
  for (const char* noise : {"{on}", "-h,--help", "lines", "code", "Positionals"}) {
    for (const std::string* text : {&game, &replay, &simulate, &rank, &highlights})
      EXPECT_EQ(text->find(noise), std::string::npos) << noise << " in\n" << *text;
  }
  EXPECT_NE(replay.find("  回放码|文件 "), std::string::npos) << replay;
  EXPECT_NE(simulate.find("  名字行... "), std::string::npos) << simulate;
  EXPECT_NE(rank.find("  参赛者... "), std::string::npos) << rank;
  EXPECT_NE(highlights.find("  名字行... "), std::string::npos) << highlights;
  // replay's seed and round cap are the code's own: no "default: the current time" there.
  EXPECT_EQ(replay.find("当前时间"), std::string::npos) << replay;
  EXPECT_NE(replay.find("回放码里的种子"), std::string::npos) << replay;
  EXPECT_EQ(run_morvane("simulate --version", "").out, run_morvane("--version", "").out);
}

// A zh_CN.GBK locale of the test's own, made from the system's locale sources: none needs to be
// installed.
class GbkLocale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = ::testing::TempDir() + "morvane_locales_" + std::to_string(getpid());
    const std::string made = "mkdir -p " + folder_ + " && localedef -i zh_CN -f GBK " + folder_ +
                             "/zh_CN.GBK >/dev/null 2>&1; LOCPATH=" + folder_ +
                             " LC_ALL=zh_CN.GBK locale charmap 2>/dev/null";
    available_ = shell(made).out == "GBK\n";
  }
  static void TearDownTestSuite() { shell("rm -rf " + folder_); }

  void SetUp() override {
    if (!available_) GTEST_SKIP() << "localedef cannot make zh_CN.GBK (package locales)";
  }

  static std::string gbk(const std::string& utf8) { return platform::utf8_to_gbk()->convert(utf8); }
  static std::string in_gbk_locale() { return "LOCPATH=" + folder_ + " LC_ALL=zh_CN.GBK"; }

  static inline std::string folder_;
  static inline bool available_ = false;
};

TEST_F(GbkLocale, TheHelpAndARefusalAreWrittenInGbk) {
  for (const char* args :
       {"--help", "replay --help", "simulate --help", "rank --help", "highlights --help"}) {
    const std::string utf8 = run_morvane(args, "", "2>&1", "COLUMNS=80 LC_ALL=C.UTF-8").out;
    const Outcome got = run_morvane(args, "", "2>&1", "COLUMNS=80 " + in_gbk_locale());
    EXPECT_EQ(got.status, 0);
    EXPECT_EQ(got.out, gbk(utf8)) << args;
  }
  // A value typed in GBK is quoted as typed.
  const Outcome refused =
      run_morvane("--seed " + gbk("甲乙"), "", "2>&1 >/dev/null", in_gbk_locale());
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, gbk("morvane: --seed 要是十进制整数（可带正负号），不能是“甲乙”\n"
                             "用 morvane --help 查看用法\n"));
  // --encoding says what the terminal speaks, whatever the locale.
  const Outcome told = run_morvane("--encoding gbk --color x", "", "2>&1 >/dev/null");
  EXPECT_EQ(told.out.substr(0, told.out.find('\n')),
            gbk("morvane: --color 只能是 auto、always 或 never，不能是“x”"));
}

}  // namespace
}  // namespace morvane

#else
TEST(CommandLine, RunsThroughAPosixShell) {
  GTEST_SKIP() << "runs morvane through a POSIX shell; scripts/windows-check runs the .exe";
}
#endif
