// Keys at the edges of a game on a pseudo-terminal: a key typed just before a battle, keys
// pressed after one, keys during a replay, the end of input, characters of GBK. None of them
// answers a prompt it was not typed for, shows in the narration or reaches the shell after.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>

#include "support/process.hpp"
#include "support/pty.hpp"
#include "support/terminal_game.hpp"
#include "terminal/platform.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// The endless mode of seed 49 with attribute 8, up to its second level's start: `stray` typed
// while the stat lines show (no Enter), Space during the battle, and `answer` at the upgrade menu.
std::string endless_with_a_stray_key(const std::string& stray, const std::string& answer) {
  Pty t;
  t.start({"--seed", "49", "--color=never"});
  pass_key_wait(t);
  t.type("3\r");
  EXPECT_TRUE(t.read_until("你需要什么属性"));
  t.type("8\r");
  EXPECT_TRUE(t.read_until("下面的数值"));
  t.type(stray);
  wait_for_the_battle(t);
  t.type(" ");
  EXPECT_TRUE(t.read_until("其他.放弃", 0, 20));
  EXPECT_TRUE(t.becomes_echoing()) << "the prompt shows what is typed";
  t.type(answer + "\r");
  EXPECT_TRUE(t.read_until("即将开始第2波攻击", 0, 20));
  return between(plain_text(t.seen), "你通过了第1关", "即将开始第2波攻击");
}

TEST(StrayKeys, AnUnfinishedLineBeforeABattleIsDroppedNotGluedToTheNextAnswer) {
  // "-" then "2" read "-2" (giving up), "2" then "1" read 21 (giving up too).
  const std::pair<std::string, std::string> cases[] = {{"-", "2"}, {"2", "1"}};
  for (const auto& [stray, answer] : cases) {
    const std::string shown = endless_with_a_stray_key(stray, answer);
    const Outcome piped = run_morvane("--seed 49 --no-pause", "3\n8\n" + answer + "\n");
    const std::string wanted = between(piped.out, "你通过了第1关", "即将开始第2波攻击");
    EXPECT_EQ(replaced(shown, "其他.放弃\n" + answer + "\n", "其他.放弃\n"), wanted) << stray;
    EXPECT_EQ(shown.find("你选择放弃"), std::string::npos) << shown;
  }
}

TEST(StrayKeys, KeysPressedAfterABattleNeitherShowNorReachTheShell) {
  Pty t;
  t.shell_reads = true;
  t.start({"--seed", "42"});
  pass_key_wait(t);
  t.type(typed("1\n2\n甲/乙/丙\n丁/戊/己\n"));
  wait_for_the_battle(t);
  t.type(" ");
  t.read_for(300);
  t.type("p");
  t.read_for(300);
  t.type("ls");
  EXPECT_EQ(t.wait(), 0);
  const std::string shown = plain_text(t.seen);
  EXPECT_NE(shown.find(kEnd), std::string::npos);
  EXPECT_EQ(shown.find("p游戏结束"), std::string::npos);
  EXPECT_EQ(shown.find("ls"), std::string::npos) << shown;
  EXPECT_EQ(t.shell_found(), "");
}

TEST(StrayKeys, AnswersTypedAtThePromptsAfterTheFirstBattleShowAndCount) {
  // The endless mode: the upgrade menu shows what is typed at it, and keys typed while the
  // narration runs between two battles stay out of sight and out of the answers.
  Pty t;
  t.shell_reads = true;
  t.start({"--seed", "9", "--color=never"});
  pass_key_wait(t);
  t.type("3\r");
  ASSERT_TRUE(t.read_until("你需要什么属性"));
  t.type("3\r");
  wait_for_the_battle(t);
  t.type(" ");
  ASSERT_TRUE(t.read_until("你通过了第1关", 0, 20));
  EXPECT_TRUE(t.becomes_echoing(false)) << "the narration between battles shows no key";
  t.type("7");
  ASSERT_TRUE(t.read_until("其他.放弃"));
  ASSERT_TRUE(t.becomes_echoing());
  t.type("4\r");
  ASSERT_TRUE(t.read_until("即将开始第2波攻击"));
  const std::string shown = plain_text(t.seen);
  EXPECT_NE(shown.find("其他.放弃\n4\n"), std::string::npos) << "4, not 74";
  EXPECT_EQ(shown.find("你选择放弃"), std::string::npos);
  t.type("\x03");
  EXPECT_EQ(t.wait(), 130);
  EXPECT_EQ(t.shell_found(), "");
}

// A replay code of the game of seed 1 with kEighters: more than a minute at its own pace.
std::string long_fight() {
  const std::string file = temp_path("long_fight");
  EXPECT_EQ(run_morvane("--seed 1 --no-pause --record " + file, kEighters).status, 0);
  std::string code = contents(file);
  std::remove(file.c_str());
  if (!code.empty()) code.pop_back();
  return code;
}

TEST(StrayKeys, TheKeysPaceAReplayWithoutShowingAndLeaveNothingForTheShell) {
  Pty t;
  t.shell_reads = true;
  t.start({"replay", long_fight()});
  wait_for_the_battle(t);
  EXPECT_FALSE(t.echoes());
  t.type("abc");
  t.type("p");
  ASSERT_TRUE(t.read_until(std::string(kPausedNote)));
  t.type("x");
  t.type(" ");
  ASSERT_TRUE(t.read_until(kEnd, 0, 15)) << "Space skips to the battle's end";
  t.type("ls");
  EXPECT_EQ(t.wait(), 0);
  const std::string shown = plain_text(t.seen);
  EXPECT_EQ(shown.find("abc"), std::string::npos);
  EXPECT_EQ(shown.find("ls"), std::string::npos);
  EXPECT_EQ(t.shell_found(), "");
  // The fight itself is the original's.
  const Outcome piped = run_morvane("--seed 1 --no-pause", kEighters);
  EXPECT_EQ(between(replaced(shown, kHint + "\n"), "战斗开始", kEnd),
            between(piped.out, "战斗开始", kEnd));
}

TEST(StrayKeys, CtrlDEndsTheInputForGoodAsAPipesEndDoes) {
  Pty t;
  t.start({"--seed", "5", "--no-pause", "--color=never"});
  pass_key_wait(t);
  t.type("1\r4\r");
  ASSERT_TRUE(t.read_until("现在请输入第1队"));
  ASSERT_TRUE(t.becomes_echoing());
  t.type("\x04");
  // Every later team reads the end of input at once: the game runs to its end.
  ASSERT_TRUE(t.read_until(kEnd, 0, 15));
  EXPECT_EQ(t.wait(), 0);
  const Outcome piped = run_morvane("--seed 5 --no-pause", "1\n4\n");
  EXPECT_EQ(between(plain_text(t.seen), "战斗开始", kEnd), between(piped.out, "战斗开始", kEnd));
}

TEST(StrayKeys, CharactersOfGbkWhoseSecondByteIsPDoNotPauseABattle) {
  const auto gbk = [](const std::string& utf8) { return platform::utf8_to_gbk()->convert(utf8); };
  Pty t;
  t.start({"--seed", "1", "--encoding", "gbk", "--color=never"});
  ASSERT_TRUE(t.read_until(gbk(kKeyWait)));
  ASSERT_TRUE(t.becomes_raw());
  t.type("x");
  ASSERT_TRUE(t.read_until(gbk(kMenuEnd)));
  t.type(gbk(typed(kEighters)));
  ASSERT_TRUE(t.read_until(gbk(kHint)));
  ASSERT_TRUE(t.becomes_raw());
  const std::string paused = gbk(std::string(kPausedNote));
  const std::size_t before = t.seen.size();
  // 關 筆 雙 揚: EA 50, B9 50, EB 70, 93 50.
  t.type("\xEA\x50\xB9\x50\xEB\x70\x93\x50");
  t.read_for(4000);  // a few of the battle's pauses, none longer than a second
  EXPECT_EQ(t.seen.find(paused), std::string::npos) << "no pause";
  EXPECT_GT(t.seen.size(), before + 20) << "the narration goes on";
  // p itself does pause it.
  t.type("p");
  EXPECT_TRUE(t.read_until(paused));
  t.type(" ");
  t.type(" ");
  ASSERT_TRUE(t.read_until(gbk(kEnd), 0, 15));
  EXPECT_EQ(t.wait(), 0);
}

}  // namespace
}  // namespace morvane
#endif
