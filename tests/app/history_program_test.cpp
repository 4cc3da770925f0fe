// The record of games as a player meets it: a game finished on a terminal is kept, `morvane
// history` lists it with the command that replays it, the endless mode's best is shown, and a
// record that cannot be kept costs a warning only.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/process.hpp"
#include "support/pty.hpp"
#include "support/terminal_game.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

class HistoryProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    state_ = temp_path("state");
    shell("rm -rf '" + state_ + "'");
  }
  void TearDown() override { shell("rm -rf '" + state_ + "'"); }

  // Plays `answers` on a terminal with the history in the test's state folder; what it showed.
  std::string play(const std::vector<std::string>& args, const std::string& answers,
                   int* status = nullptr, const char* state = nullptr) {
    Pty t;
    const std::string folder = state != nullptr ? state : state_;
    t.start(args, [&folder] {
      setenv("XDG_STATE_HOME", folder.c_str(), 1);
      unsetenv("MORVANE_NO_HISTORY");
    });
    pass_key_wait(t);
    t.type(typed(answers));
    const int ended = t.wait();
    if (status != nullptr) *status = ended;
    EXPECT_EQ(ended, 0);
    return plain_text(t.seen);
  }
  Outcome history(const std::string& args = "", const std::string& redirect = "2>/dev/null") {
    return run_morvane("history " + args, "", redirect,
                       "env -u MORVANE_NO_HISTORY XDG_STATE_HOME=" + state_);
  }
  std::string file() const { return state_ + "/morvane/history.jsonl"; }

  std::string state_;
};

// The command a game's closing lines show.
std::string replay_command(const std::string& shown) {
  const std::size_t at = shown.rfind("morvane replay ");
  return at == std::string::npos ? "" : shown.substr(at, shown.find('\n', at) - at);
}

TEST_F(HistoryProgram, AGameFinishedOnATerminalIsKeptAndListedWithItsCommand) {
  const std::string shown = play({"--seed", "11", "--no-pause"}, "1\n2\n甲/乙\n丙/丁\n");
  const std::string command = replay_command(shown);
  ASSERT_FALSE(command.empty()) << shown;
  const Outcome listed = history();
  EXPECT_EQ(listed.status, 0);
  EXPECT_NE(listed.out.find("  正常模式  种子11  甲/乙 对 丙/丁  第"), std::string::npos)
      << listed.out;
  EXPECT_TRUE(listed.out.ends_with("\n" + command + "\n")) << listed.out;
  // The command replays the game.
  EXPECT_EQ(shell(kMorvane + " " + command.substr(8) + " --no-pause </dev/null").out,
            run_morvane("--seed 11 --no-pause", "1\n2\n甲/乙\n丙/丁\n").out);
  // Neither a game told not to, nor a piped one, is kept.
  play({"--seed", "12", "--no-pause", "--no-history"}, "1\n2\n甲\n乙\n");
  run_morvane("--seed 13 --no-pause", "1\n2\n甲\n乙\n", "2>/dev/null",
              "env -u MORVANE_NO_HISTORY XDG_STATE_HOME=" + state_);
  {
    Pty t;
    t.start({"--seed", "14", "--no-pause"}, [this] {
      setenv("XDG_STATE_HOME", state_.c_str(), 1);  // and MORVANE_NO_HISTORY set
    });
    pass_key_wait(t);
    t.type("1\r2\r甲\r乙\r");
    EXPECT_EQ(t.wait(), 0);
  }
  const std::string kept = contents(file());
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 1) << kept;
}

TEST_F(HistoryProgram, AnEndlessRunEndsWithTheBestLevelOfAllRunsKept) {
  // Seed 49 with attribute 8 and these upgrades falls at level 6.
  const std::string run = "3\n8\n1\n1\n1\n1\n7\n2\n";
  std::string shown = play({"--seed", "49", "--no-pause"}, run);
  EXPECT_NE(
      shown.find("你最后挑战到第6关！\n如果想再来请重新运行程序\n最好成绩：第6关\n种子：49\n"),
      std::string::npos)
      << shown;
  // A better run kept before.
  std::ofstream(file(), std::ios::app)
      << R"({"time":1,"mode":3,"seed":1,"teams":["你（属性1）"],"level":9,"best":9})"
      << "\n";
  shown = play({"--seed", "49", "--no-pause"}, run);
  EXPECT_NE(shown.find("最好成绩：第9关\n"), std::string::npos) << shown;
  EXPECT_TRUE(history().out.ends_with("无尽模式最好成绩：第9关\n"));
}

TEST_F(HistoryProgram, AFolderThatCannotBeWrittenCostsAWarningAndNothingElse) {
  // A file where the state folder should be: no one, not even root, can make a folder in it.
  const std::string blocked = temp_path("blocked");
  std::ofstream(blocked) << "x";
  int status = -1;
  const std::string shown =
      play({"--seed", "11", "--no-pause"}, "1\n2\n甲/乙\n丙/丁\n", &status, blocked.c_str());
  std::remove(blocked.c_str());
  EXPECT_EQ(status, 0);
  EXPECT_NE(
      shown.find("morvane: 这局没有记入历史：" + blocked + "/morvane：路径中有一部分不是目录"),
      std::string::npos)
      << shown;
  // The closing lines are whole, before the warning.
  EXPECT_LT(shown.find("morvane replay MV1-"), shown.find("这局没有记入历史"));
}

TEST_F(HistoryProgram, TheListingShowsNamesAsTextAndPassesOverSpoiltLines) {
  shell("mkdir -p '" + state_ + "/morvane'");
  std::ofstream(file())
      << R"({"time":1800000000,"mode":1,"seed":3,"teams":["\u001b]52;c;aGk=\u0007A","B"],"winner":1,"code":"MV1-AAAA"})"
      << "\nspoilt\n"
      << R"({"time":1800000000,"mode":4,"seed":4,"teams":["挑战者（属性1/2/3）"],"winner":2})"
      << "\n";
  const Outcome listed = history("", "2>&1");
  EXPECT_EQ(listed.status, 0);
  EXPECT_EQ(listed.out.find('\x1b'), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("^[]52;c;aGk=^GA 对 B  第1队胜利\nmorvane replay MV1-AAAA\n"),
            std::string::npos)
      << listed.out;
  EXPECT_NE(listed.out.find("挑战者（属性1/2/3）  作者胜利\n（没有回放码）\n"), std::string::npos);
  EXPECT_NE(listed.out.find("morvane: 历史记录 " + file() + " 的第2行已损坏，略过不列\n"),
            std::string::npos)
      << listed.out;
  // Only the last one, when asked for one.
  EXPECT_EQ(history("1").out.find("种子3"), std::string::npos);
  EXPECT_NE(history("1").out.find("种子4"), std::string::npos);
  // No history yet is no error.
  shell("rm -rf '" + state_ + "'");
  EXPECT_EQ(history().status, 0);
  EXPECT_NE(history().out.find("还没有记录"), std::string::npos);
}

}  // namespace
}  // namespace morvane
#endif
