// The morvane executable itself, fed on piped input.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

const std::string kMenu =
    "欢迎来到Morvane！请按下任意键继续。你要玩那个模式？输入1或2或3 \n"
    "1.正常模式 2.疯狂阿瓦达模式 3.无尽模式\n4.(限时开放)与作者的战斗\n";

TEST(Program, ASeededMatchReplaysExactlyAndWritesColoursOnlyWhenAsked) {
  const std::string match = "1\n2\ntessik/甲\n乙\n";
  const Outcome r = run_morvane("--seed 7 --no-pause", match);
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(r.out.starts_with(kMenu + "请输入队伍总数")) << r.out.substr(0, 600);
  EXPECT_TRUE(r.out.ends_with("\n胜利的是第1队\n如果想再来请重新运行程序")) << r.out;
  EXPECT_EQ(r.out.find('\x1b'), std::string::npos);  // a pipe gets no colours
  EXPECT_EQ(run_morvane("--seed 7 --no-pause --color never", match).out, r.out);
  const std::string always = run_morvane("--seed 7 --no-pause --color always", match).out;
  EXPECT_TRUE(always.ends_with("如果想再来请重新运行程序\x1b[0m"));
}

TEST(Program, SeedsAreDecimalModuloTwoToTheThirtyTwo) {
  const std::string match = "1\n3\n甲/乙\n丙\n丁\n";
  const std::string ten = run_morvane("--seed 10 --no-pause", match).out;
  EXPECT_EQ(run_morvane("--seed 010 --no-pause", match).out, ten);
  EXPECT_EQ(run_morvane("--seed=-1 --no-pause", match).out,
            run_morvane("--seed 4294967295 --no-pause", match).out);
  EXPECT_NE(run_morvane("--seed 11 --no-pause", match).out, ten);
}

TEST(Program, APaceIsAFiniteDecimalWithinItsRangeAndARefusalNamesTheRange) {
  for (const char* speed : {"0.0001", "nan", "inf", "1e-300", "1e3", "-1", "0", "0.009", "1000.5",
                            "+2", "0x10", "", ".", "1..2", "99999999999999999999999999999"}) {
    const Outcome r = run_morvane(std::string("--speed=") + speed, "5\n", "2>&1 >/dev/null");
    EXPECT_EQ(r.status, 2) << speed;
    EXPECT_NE(r.out.find("0.01到1000"), std::string::npos) << speed << ": " << r.out;
    EXPECT_LT(r.out.size(), 200u) << r.out;
  }
  for (const char* speed : {"0.01", "1000", "2.5", "0004", ".5", "3."})
    EXPECT_EQ(run_morvane(std::string("--speed=") + speed, "5\n").status, 0) << speed;
}

TEST(Program, TheHelpIsChineseWithTheOptionsEnglishNamesAndTheVersionIsGnuShaped) {
  const std::pair<const char*, const char*> helps[] = {
      {"--help", "用法：morvane [选项]"},
      {"replay --help", "用法：morvane replay [选项] 回放码|文件"},
      {"simulate --help", "用法：morvane simulate [选项] 名字行..."},
  };
  for (const auto& [args, usage] : helps) {
    const Outcome r = run_morvane(args, "");
    EXPECT_EQ(r.status, 0) << args;
    EXPECT_TRUE(r.out.starts_with(usage)) << r.out;
    for (const char* noise : {"ENUM", "TEXT", "REQUIRED", "Options", "->"})
      EXPECT_EQ(r.out.find(noise), std::string::npos) << args << " shows " << noise;
    for (const char* status : {"  0 ", "  1 ", "  2 ", "  130 ", "  141 "})
      EXPECT_NE(r.out.find(status), std::string::npos) << args << " lacks status" << status;
  }
  const std::string help = run_morvane("--help", "").out;
  for (const char* part : {"--color auto|always|never", "--speed X", "无尽模式", "空格或回车",
                           "| morvane --seed 11 --no-pause", "morvane replay"})
    EXPECT_NE(help.find(part), std::string::npos) << part;

  const Outcome version = run_morvane("--version", "");
  EXPECT_EQ(version.status, 0);
  EXPECT_TRUE(version.out.starts_with("morvane " MORVANE_VERSION_TEXT "\n版权所有 (C) "));
  for (const char* part : {"The Morvane authors", "MIT", "没有任何担保"})
    EXPECT_NE(version.out.find(part), std::string::npos) << part;
  EXPECT_EQ(run_morvane("replay --version", "").out, version.out);
}

TEST(Program, AModeOutsideTheMenuEndsAfterIt) {
  const Outcome r = run_morvane("--no-pause", "x 5\n1\n2\n甲\n乙\n");  // x is passed over
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kMenu);
}

TEST(Program, OnAGbkConsoleNamesAreReadAndWrittenInGbk) {
  // 杰哥 typed in GBK is the named character, and its row is written back in GBK.
  const Outcome r = run_morvane("--seed 5 --no-pause --encoding gbk", "1\n1\n\xBD\xDC\xB8\xE7\n");
  EXPECT_EQ(r.status, 0);
  const std::size_t at = r.out.find("\n\xBD\xDC\xB8\xE7 ");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(r.out.substr(r.out.find('\n', at + 1) - 5, 5), " 16 1");
  EXPECT_EQ(r.out.find("杰哥"), std::string::npos);  // no UTF-8 left
}

TEST(Program, ABattleNoOneCanWinEndsAsADrawAtTheRoundCap) {
  // Ten one-fighter teams whose summons block each other for ever.
  const std::string ten = "1\n10\na\nb\nc\nd\ne\nf\ng\nh\ni\nj\n";
  const Outcome r = run_morvane("--seed 9105 --no-pause", ten);
  EXPECT_EQ(r.status, 0);
  const std::string draw = "\n战斗超过100000回合仍未分出胜负，判为平局\n游戏结束！\n";
  EXPECT_NE(r.out.find(draw), std::string::npos) << r.out.substr(r.out.size() - 400);
  EXPECT_EQ(r.out.find("胜利的是"), std::string::npos);
  EXPECT_TRUE(r.out.ends_with("\n如果想再来请重新运行程序"));

  const Outcome capped = run_morvane("--seed 9105 --no-pause --max-rounds 3", ten);
  EXPECT_NE(capped.out.find("\n战斗超过3回合仍未分出胜负，判为平局\n"), std::string::npos);
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
