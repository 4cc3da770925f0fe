// The morvane executable itself, fed on piped input.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>

#include "model/random.hpp"

namespace morvane {
namespace {

struct Result {
  std::string out;
  int status = -1;
};

// Runs `morvane ARGS < input REDIRECT` and keeps what reaches the pipe.
Result run(const std::string& args, const std::string& input,
           const std::string& redirect = "2>/dev/null") {
  // One file per process: ctest may run these tests side by side.
  const std::string in_path = ::testing::TempDir() + "morvane_in_" + std::to_string(getpid());
  std::ofstream(in_path, std::ios::binary) << input;
  const std::string command =
      std::string(MORVANE_BIN) + " " + args + " < " + in_path + " " + redirect;
  Result r;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
    r.out.append(buf, got);
  const int raw = pclose(pipe);
  std::remove(in_path.c_str());
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
  return r;
}

const std::string kMenu =
    "欢迎来到Morvane！请按下任意键继续。你要玩那个模式？输入1或2或3 \n"
    "1.正常模式 2.疯狂阿瓦达模式 3.无尽模式\n4.(限时开放)与作者的战斗\n";

std::string row(const std::string& name, std::initializer_list<std::int32_t> values) {
  std::string text = name;
  for (const std::int32_t v : values)
    text += " " + std::to_string(v);
  return text + "\n";
}

TEST(Program, ASeededMatchPrintsTheTableOfItsDrawsAndEndsWithTheWinner) {
  const Result r = run("--seed 7 --no-pause", "1\n2\ntessik/甲\n乙\n");
  EXPECT_EQ(r.status, 0);
  Lcg lcg(7);
  const auto d = [&lcg](std::int32_t span, std::int32_t base) { return lcg.next() % span + base; };
  for (int i = 0; i < 5; ++i)
    lcg.next();  // tessik's base draw, replaced by its own
  std::string rows = row("tessik", {d(1000, 2000), d(100, 200), d(100, 100), d(120, 40), 9, 1});
  rows += row("甲", {d(250, 150), d(50, 50), d(30, 20), d(80, 20), d(8, 1), 1});
  rows += row("乙", {d(250, 150), d(50, 50), d(30, 20), d(80, 20), d(8, 1), 2});
  EXPECT_TRUE(r.out.starts_with(
      kMenu +
      "请输入队伍总数(可以一人一队但绝对不可以空队):接下来输入每队的人物名字(P.S不可以重名哦)\n"
      "现在请输入第1队的人物名字，名字之间用英文输入法的/隔开，结尾不用输/\n"
      "现在请输入第2队的人物名字，名字之间用英文输入法的/隔开，结尾不用输/\n" +
      "下面的数值分别代表名字，血量，攻击，防御，魔力，属性，队伍\n" + rows + "\n战斗开始\n"))
      << r.out.substr(0, 1200);
  EXPECT_TRUE(r.out.ends_with("\n胜利的是第1队\n如果想再来请重新运行程序")) << r.out;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos);  // a pipe gets no colours

  EXPECT_EQ(run("--seed 7 --no-pause", "1\n2\ntessik/甲\n乙\n").out, r.out);
}

TEST(Program, SeedsAreDecimalModuloTwoToTheThirtyTwo) {
  const std::string match = "1\n3\n甲/乙\n丙\n丁\n";
  const std::string ten = run("--seed 10 --no-pause", match).out;
  EXPECT_EQ(run("--seed 010 --no-pause", match).out, ten);
  EXPECT_EQ(run("--seed=-1 --no-pause", match).out, run("--seed 4294967295 --no-pause", match).out);
  EXPECT_NE(run("--seed 11 --no-pause", match).out, ten);
}

TEST(Program, BadOptionsAreRefusedWithStatusTwoAndHelpSucceeds) {
  for (const char* args : {"--seed abc", "--color purple", "--encoding latin1", "--frobnicate"}) {
    const Result r = run(args, "5\n", "2>&1 >/dev/null");  // stderr only
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_NE(r.out.find("--help"), std::string::npos) << args << ": " << r.out;
  }
  const Result help = run("--help", "");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--seed"), std::string::npos);
}

TEST(Program, AModeOutsideTheMenuEndsAfterItAndLostOutputFails) {
  const Result r = run("--no-pause", "x 5\n1\n2\n甲\n乙\n");  // x is passed over
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kMenu);
  EXPECT_NE(run("--no-pause", "5\n", "> /dev/full").status, 0);
}

TEST(Program, ColoursAreEscapeSequencesOnlyWhenWanted) {
  const std::string match = "1\n2\n甲\n乙\n";
  const std::string always = run("--seed 3 --no-pause --color always", match).out;
  EXPECT_NE(always.find("\x1b[0m"), std::string::npos);
  EXPECT_TRUE(always.ends_with("如果想再来请重新运行程序\x1b[0m"));
  const std::string never = run("--seed 3 --no-pause --color never", match).out;
  EXPECT_EQ(never.find('\x1b'), std::string::npos);
  EXPECT_TRUE(never.ends_with("如果想再来请重新运行程序"));
}

TEST(Program, OnAGbkConsoleNamesAreReadAndWrittenInGbk) {
  // 杰哥 typed in GBK is the named character, and its row is written back in GBK.
  const Result r = run("--seed 5 --no-pause --encoding gbk", "1\n1\n\xBD\xDC\xB8\xE7\n");
  EXPECT_EQ(r.status, 0);
  const std::size_t at = r.out.find("\n\xBD\xDC\xB8\xE7 ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.find('\n', at + 1) - 5, 5), " 16 1");
  EXPECT_EQ(r.out.find("杰哥"), std::string::npos);  // no UTF-8 left
}

}  // namespace
}  // namespace morvane

#else
// Windows has no POSIX shell for these pipelines; scripts/windows-check plays whole games with
// the Windows build instead.
TEST(Program, RunsThroughAPosixShell) {
  GTEST_SKIP() << "runs morvane through a POSIX shell (popen, redirections, /dev/null)";
}
#endif
