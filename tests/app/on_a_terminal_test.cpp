// The game on a pseudo-terminal, as a player runs it: keys, the pace of battles, signals, the
// replay code at the end.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <cstdlib>
#include <string>

#include "console/terminal.hpp"
#include "support/process.hpp"
#include "support/pty.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

const std::string kMenuEnd = "4.(限时开放)与作者的战斗";
const std::string kHint(kKeysHint);
const std::string kEighters = "1\r2\r甲/乙/丙/丁\r戊/己/庚/辛\r";

// Passes the key wait with `key`, once the game reads keys.
void pass_key_wait(Pty& t, std::string_view key) {
  ASSERT_TRUE(t.started());
  ASSERT_TRUE(t.read_until("请按下任意键继续。"));
  ASSERT_TRUE(t.becomes_raw()) << "the key wait reads a key, not a line";
  t.type(key);
  ASSERT_TRUE(t.read_until(kMenuEnd)) << ::testing::PrintToString(std::string(key));
}

// A piped game's narration from `first` up to and including `last`.
std::string between(const std::string& text, const std::string& first, const std::string& last) {
  const std::size_t from = text.find(first);
  const std::size_t to = text.find(last, from);
  if (from == std::string::npos || to == std::string::npos) return "(not found)";
  return text.substr(from, to + last.size() - from);
}

std::string replaced(std::string text, const std::string& part, const std::string& by) {
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += by.size())
    text.replace(at, part.size(), by);
  return text;
}

std::string without(const std::string& text, const std::string& part) {
  return replaced(text, part, "");
}

TEST(OnATerminal, TheKeyWaitTakesAWholeKeyAndTheAnswerAfterItCounts) {
  // An arrow, two function keys, a Chinese character, a paste.
  for (const std::string key : {"\x1b[A", "\x1b[15~", "\x1bOP", "甲", "hello\r"}) {
    Pty t;
    t.start({"--seed", "1", "--no-pause"});
    pass_key_wait(t, key);
    t.type("1\r");
    EXPECT_TRUE(t.read_until("请输入队伍总数")) << ::testing::PrintToString(key);
  }
}

TEST(OnATerminal, SpaceSkipsToTheEndOfTheBattleWithTheSameNarration) {
  Pty t;
  t.start({"--seed", "1", "--color=never"});
  pass_key_wait(t, "x");
  t.type(kEighters);
  ASSERT_TRUE(t.read_until(kHint));
  ASSERT_TRUE(t.becomes_raw()) << "a battle reads keys";
  // At this pace the battle takes more than a minute.
  t.type(" ");
  ASSERT_TRUE(t.read_until("如果想再来请重新运行程序", 0, 15));
  EXPECT_EQ(t.wait(), 0);
  EXPECT_FALSE(t.becomes_raw());

  const Outcome piped = shell("printf '1\\n2\\n甲/乙/丙/丁\\n戊/己/庚/辛\\n' | " +
                              std::string(MORVANE_BIN) + " --seed 1 --no-pause");
  const std::string shown = plain_text(t.seen);
  EXPECT_EQ(between(without(shown, kHint + "\n"), "战斗开始", "如果想再来请重新运行程序"),
            between(piped.out, "战斗开始", "如果想再来请重新运行程序"));
  EXPECT_EQ(shown.find(kHint), shown.rfind(kHint)) << "the hint shows once";
}

TEST(OnATerminal, KeysTypedDuringAFightAnswerNothingButAnswersTypedAheadCount) {
  Pty t;
  t.start({"--seed", "9", "--color=never"});
  pass_key_wait(t, "x");
  t.type("3\r");
  ASSERT_TRUE(t.read_until("你需要什么属性"));
  t.type("3\r2\r");  // the attribute, and the upgrade after the first level typed ahead
  ASSERT_TRUE(t.read_until(kHint));
  ASSERT_TRUE(t.becomes_raw());
  t.type("4 ");  // during the first fight: 4 answers nothing, Space skips to its end
  ASSERT_TRUE(t.read_until("即将开始第2波攻击"));
  const std::size_t second = t.seen.size();
  ASSERT_TRUE(t.read_until("回合结束", second));
  t.type("1 ");  // the same during the second fight
  ASSERT_TRUE(t.read_until("其他.放弃", second));
  t.read_for(1500);
  EXPECT_EQ(t.seen.find("下面的数值", t.seen.find("其他.放弃", second)), std::string::npos)
      << "the upgrade after the second fight waits for its answer";
  t.type("4\r");
  ASSERT_TRUE(t.read_until("即将开始第3波攻击", second));

  const Outcome piped =
      shell("printf '3\\n3\\n2\\n4\\n' | " + std::string(MORVANE_BIN) + " --seed 9 --no-pause");
  // What the terminal shows besides the narration: the hint and the answer typed at a prompt.
  const std::string shown =
      replaced(without(plain_text(t.seen), kHint + "\n"), "其他.放弃\n4\n", "其他.放弃\n");
  const std::string wanted = between(piped.out, "战斗开始", "即将开始第3波攻击");
  EXPECT_EQ(between(shown, "战斗开始", "即将开始第3波攻击"), wanted);
  EXPECT_NE(wanted.find("2.增加攻击力至61"), std::string::npos);
}

TEST(OnATerminal, AGameEndsWithItsSeedAndCodeAndTheCodeReplaysItsBytes) {
  Pty t;
  t.start({"--seed", "11", "--no-pause"});
  pass_key_wait(t, " ");
  t.type("1\r2\r甲/乙\r丙/丁\r");
  const std::string shown = "种子：11　回放：morvane replay ";
  ASSERT_TRUE(t.read_until(shown));
  const std::size_t at = t.seen.find(shown) + shown.size();
  ASSERT_TRUE(t.read_until("\r\n", at));
  const std::string code = t.seen.substr(at, t.seen.find("\r\n", at) - at);
  EXPECT_EQ(t.wait(), 0);
  EXPECT_TRUE(code.starts_with("MV1-")) << code;
  EXPECT_EQ(
      code.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
      std::string::npos);
  EXPECT_EQ(kHint.find("Morvane"), std::string::npos);
  EXPECT_EQ(t.seen.find(kHint), std::string::npos) << "no pauses, nothing to pace";

  const std::string bin(MORVANE_BIN);
  for (const std::string colors : {"", " --color always"}) {
    const Outcome piped =
        shell("printf '1\\n2\\n甲/乙\\n丙/丁\\n' | " + bin + " --seed 11 --no-pause" + colors);
    const Outcome replayed =
        shell(bin + " replay " + code + " --no-pause" + colors + " </dev/null");
    EXPECT_EQ(replayed.status, 0);
    EXPECT_EQ(replayed.out, piped.out) << colors;
  }
}

TEST(OnATerminal, ADumbTerminalGetsNoColourAndNoClearing) {
  for (const char* term : {"dumb", ""}) {
    Pty t;
    t.start({"--seed", "1", "--no-pause"}, [term] {
      if (*term != '\0') {
        setenv("TERM", term, 1);
      } else {
        unsetenv("TERM");
      }
    });
    pass_key_wait(t, "x");
    t.type("1\r1\r甲\r");
    EXPECT_EQ(t.wait(), 0);
    EXPECT_NE(t.seen.find("如果想再来请重新运行程序"), std::string::npos);
    EXPECT_EQ(t.seen.find('\x1b'), std::string::npos) << "TERM=" << term;
  }
}

TEST(OnATerminal, CtrlCDuringTheKeyWaitRestoresTheTerminalAndTheColour) {
  Pty t;
  t.start({"--seed", "1", "--color=always"});
  ASSERT_TRUE(t.read_until("请按下任意键继续。"));
  ASSERT_TRUE(t.becomes_raw());
  t.type("\x03");
  EXPECT_EQ(t.wait(), 128 + SIGINT);
  EXPECT_TRUE(t.becomes_raw(false));
  EXPECT_TRUE(t.echoes());
  EXPECT_TRUE(t.seen.ends_with("\x1b[0m"));
}

TEST(OnATerminal, CtrlCDuringAPauseRestoresTheColour) {
  Pty t;
  t.start({"--seed", "1", "--speed=0.01"});  // a hundred times slower: long pauses
  pass_key_wait(t, "x");
  t.type("1\r1\r甲\r");
  ASSERT_TRUE(t.read_until("下面的数值"));
  const std::size_t before = t.seen.size();
  t.type("\x03");
  EXPECT_EQ(t.wait(), 128 + SIGINT);
  EXPECT_NE(t.seen.find("\x1b[0m", before), std::string::npos) << "colour reset on the way out";
  EXPECT_TRUE(t.becomes_raw(false));
}

TEST(OnATerminal, CtrlBackslashQuitsAsCtrlCDoesWithItsOwnStatus) {
  Pty t;
  t.start({"--seed", "1", "--color=always"});
  ASSERT_TRUE(t.read_until("请按下任意键继续。"));
  ASSERT_TRUE(t.becomes_raw());
  t.type("\x1c");
  EXPECT_EQ(t.wait(), 128 + SIGQUIT);
  EXPECT_TRUE(t.becomes_raw(false));
  EXPECT_TRUE(t.seen.ends_with("\x1b[0m"));
}

TEST(OnATerminal, CtrlZPutsTheTerminalBackAndResumingPutsTheGamesModesAndColourBack) {
  Pty t;
  t.start({"--seed", "1", "--color=always"});
  pass_key_wait(t, "x");
  t.type(kEighters);
  ASSERT_TRUE(t.read_until(kHint));
  ASSERT_TRUE(t.becomes_raw());
  t.read_for(1500);  // some of the battle, in colour
  t.type("\x1a");
  ASSERT_TRUE(t.becomes_stopped());
  EXPECT_TRUE(t.becomes_raw(false));
  EXPECT_TRUE(t.echoes());
  t.read_for(200);
  ASSERT_TRUE(t.seen.ends_with("\x1b[0m")) << "the shell's prompt in the normal colour";
  const std::string before = t.seen.substr(0, t.seen.size() - 4);
  const std::size_t sgr = before.rfind("\x1b[");
  const std::string colour = before.substr(sgr, before.find('m', sgr) + 1 - sgr);

  const std::size_t resumed = t.seen.size();
  kill(t.game(), SIGCONT);
  ASSERT_TRUE(t.read_until(colour, resumed));
  EXPECT_EQ(t.seen.find("\x1b[", resumed), resumed) << "the colour comes back first";
  EXPECT_TRUE(t.becomes_raw());
  t.type(" ");
  EXPECT_EQ(t.wait(), 0);
  EXPECT_TRUE(t.becomes_raw(false));
}

TEST(OnATerminal, AHangUpEndsTheGameUnlessItWasIgnoredAtStart) {
  {
    Pty t;
    t.start({"--seed", "1"});
    ASSERT_TRUE(t.read_until("请按下任意键继续。"));
    ASSERT_TRUE(t.becomes_raw());
    kill(t.game(), SIGHUP);
    EXPECT_EQ(t.wait(), 128 + SIGHUP);
  }
  Pty t;  // as under nohup
  t.start({"--seed", "1"}, [] { signal(SIGHUP, SIG_IGN); });
  ASSERT_TRUE(t.read_until("请按下任意键继续。"));
  ASSERT_TRUE(t.becomes_raw());
  kill(t.game(), SIGHUP);
  pass_key_wait(t, "x");
  t.type("5\r");  // no such mode: the game ends
  EXPECT_EQ(t.wait(), 0);
}

}  // namespace
}  // namespace morvane
#endif
