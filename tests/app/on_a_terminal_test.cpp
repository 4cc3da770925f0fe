// The game on a pseudo-terminal, as a player runs it: keys, the pace of battles, signals, the
// replay code at the end.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/process.hpp"
#include "support/pty.hpp"
#include "support/terminal_game.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

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
  pass_key_wait(t);
  t.type(typed(kEighters));
  ASSERT_TRUE(t.read_until(kHint));
  ASSERT_TRUE(t.becomes_raw()) << "a battle reads keys";
  // At this pace the battle takes more than a minute.
  t.type(" ");
  ASSERT_TRUE(t.read_until(kEnd, 0, 15));
  EXPECT_EQ(t.wait(), 0);
  EXPECT_TRUE(t.becomes_raw(false));

  const Outcome piped = run_morvane("--seed 1 --no-pause", kEighters);
  const std::string shown = plain_text(t.seen);
  EXPECT_EQ(between(replaced(shown, kHint + "\n"), "战斗开始", kEnd),
            between(piped.out, "战斗开始", kEnd));
  EXPECT_EQ(shown.find(kHint), shown.rfind(kHint)) << "the hint shows once";
}

TEST(OnATerminal, KeysTypedDuringAFightAnswerNothingButAnswersTypedAheadCount) {
  Pty t;
  t.start({"--seed", "9", "--color=never"});
  pass_key_wait(t);
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

  const Outcome piped = run_morvane("--seed 9 --no-pause", "3\n3\n2\n4\n");
  // What the terminal shows besides the narration: the hint and the answer typed at a prompt.
  const std::string shown =
      replaced(replaced(plain_text(t.seen), kHint + "\n"), "其他.放弃\n4\n", "其他.放弃\n");
  const std::string wanted = between(piped.out, "战斗开始", "即将开始第3波攻击");
  EXPECT_EQ(between(shown, "战斗开始", "即将开始第3波攻击"), wanted);
  EXPECT_NE(wanted.find("2.增加攻击力至61"), std::string::npos);
}

TEST(OnATerminal, AGameEndsWithItsSeedAndCodeAndTheCodeReplaysItsBytes) {
  const std::string match = "1\n2\n甲/乙\n丙/丁\n";
  Pty t;
  t.start({"--seed", "11", "--no-pause"});
  pass_key_wait(t, " ");
  t.type(typed(match));
  // The command alone on its line, under its label: a triple-click copies exactly it.
  const std::string shown = "种子：11\r\n回放：\r\nmorvane replay ";
  ASSERT_TRUE(t.read_until(shown));
  const std::size_t at = t.seen.find(shown) + shown.size();
  ASSERT_TRUE(t.read_until("\r\n", at));
  const std::string code = t.seen.substr(at, t.seen.find("\r\n", at) - at);
  EXPECT_TRUE(code.starts_with("MV1-")) << code;
  EXPECT_EQ(code.find_first_of(" \x1b"), std::string::npos) << code;
  EXPECT_EQ(t.wait(), 0);
  EXPECT_EQ(t.seen.find(kHint), std::string::npos) << "no pauses, nothing to pace";

  const Outcome replayed = shell(kMorvane + " replay " + code + " --no-pause </dev/null");
  EXPECT_EQ(replayed.status, 0);
  EXPECT_EQ(replayed.out, run_morvane("--seed 11 --no-pause", match).out);
}

TEST(OnATerminal, ANameInAReplayCodeCannotCommandTheTerminal) {
  // Names that retitle the window and write the clipboard (OSC 52), where terminals allow it.
  const std::string game = "1\n2\n\x1b]0;pwned\a\x1b]52;c;aGVsbG8=\aA/B\nC\n";
  const std::string file = temp_path("osc");
  ASSERT_EQ(run_morvane("--seed 3 --no-pause --record " + file, game).status, 0);
  std::string code = contents(file);
  std::remove(file.c_str());
  code.pop_back();
  Pty t;
  t.start({"replay", "--no-pause", code});
  EXPECT_EQ(t.wait(), 0);
  // Every escape left is a colour or the clearing of the console's own.
  const std::string shown = plain_text(t.seen);
  EXPECT_EQ(shown.find('\x1b'), std::string::npos);
  EXPECT_EQ(shown.find('\a'), std::string::npos);
  EXPECT_NE(shown.find("^[]52;c;aGVsbG8=^GA发动攻击"), std::string::npos) << shown.substr(0, 2000);
  // Piped, it is the game's own bytes.
  EXPECT_EQ(shell(kMorvane + " replay --no-pause " + code).out,
            run_morvane("--seed 3 --no-pause", game).out);
}

TEST(OnATerminal, AShardsLinesCannotCommandTheTerminalThatMergesIt) {
  const std::string shard = temp_path("shard");
  ASSERT_EQ(
      shell(kMorvane + " simulate --games 5 --json \"$(printf '\\033]52;c;aGVsbG8=\\007')\" b > " +
            shard)
          .status,
      0);
  Pty t;
  t.start({"simulate", "--merge", shard});
  EXPECT_EQ(t.wait(), 0);
  std::remove(shard.c_str());
  EXPECT_EQ(t.seen.find('\x1b'), std::string::npos);
  EXPECT_NE(t.seen.find("第1队 ^[]52;c;aGVsbG8=^G："), std::string::npos) << t.seen;
}

TEST(OnATerminal, AMessageShowsTheControlBytesOfWhatItQuotes) {
  const std::string evil = "\x1b]52;c;aGVsbG8=\a\x1b]0;pwned\a";
  const std::string shown = "^[]52;c;aGVsbG8=^G^[]0;pwned^G";
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"replay", "--no-pause", evil},
        {"simulate", "--merge", evil},
        {"--encoding", "gbk", "--record", "/nonexistent/" + evil},
        {"--color", evil}}) {
    Pty t;
    t.start(args);
    EXPECT_NE(t.wait(), 0);
    EXPECT_EQ(t.seen.find('\x1b'), std::string::npos) << t.seen;
    EXPECT_NE(t.seen.find(shown), std::string::npos) << t.seen;
  }
  // Piped, the bytes given.
  EXPECT_NE(shell(kMorvane + " replay \"$(printf '\\033]0;x')\" 2>&1").out.find("\x1b]0;x"),
            std::string::npos);
}

TEST(OnATerminal, AnEntrantsNameFromAFileCannotCommandTheTerminalThatRanksIt) {
  const std::string names = temp_path("names");
  std::ofstream(names) << "\033]52;c;aGVsbG8=\007\nb\n";
  Pty t;
  t.start({"rank", "--games", "3", "--from", names});
  EXPECT_EQ(t.wait(), 0);
  std::remove(names.c_str());
  EXPECT_EQ(t.seen.find('\x1b'), std::string::npos);
  EXPECT_NE(t.seen.find("^[]52;c;aGVsbG8=^G"), std::string::npos) << t.seen;
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
    pass_key_wait(t);
    t.type("1\r1\r甲\r");
    EXPECT_EQ(t.wait(), 0);
    EXPECT_NE(t.seen.find(kEnd), std::string::npos);
    EXPECT_EQ(t.seen.find('\x1b'), std::string::npos) << "TERM=" << term;
  }
}

TEST(OnATerminal, CtrlCOrCtrlBackslashEndTheGameByItsSignalAndPutTheTerminalBackAndShowTheSeed) {
  struct Quit {
    const char* key;
    int signal;
    bool in_a_pause;  // else at the key wait
  };
  for (const Quit q :
       {Quit{"\x03", SIGINT, false}, Quit{"\x1c", SIGQUIT, false}, Quit{"\x03", SIGINT, true}}) {
    Pty t;
    t.start({"--seed", "1", "--color=always", "--speed=0.01"});  // long pauses
    if (q.in_a_pause) {
      pass_key_wait(t);
      t.type("1\r1\r甲\r");
      ASSERT_TRUE(t.read_until("下面的数值"));
    } else {
      ASSERT_TRUE(t.read_until(kKeyWait));
      ASSERT_TRUE(t.becomes_raw());
    }
    t.type(q.key);
    EXPECT_EQ(t.wait(), 128 + q.signal) << q.in_a_pause;
    EXPECT_TRUE(t.becomes_raw(false));
    EXPECT_TRUE(t.echoes());
    // The colour reset on the way out, then the seed on a line of its own, in the normal colour.
    const std::string after_reset = t.seen.substr(t.seen.rfind("\x1b[0m") + 4);
    EXPECT_TRUE(after_reset == "种子：1\r\n" || after_reset == "\r\n种子：1\r\n")
        << ::testing::PrintToString(after_reset);
    EXPECT_TRUE(plain_text(t.seen).ends_with("\n种子：1\n"))
        << ::testing::PrintToString(plain_text(t.seen).substr(plain_text(t.seen).size() - 60));
  }
}

TEST(OnATerminal, CtrlZPutsTheTerminalBackAndResumingPutsTheGamesModesAndColourBack) {
  Pty t;
  t.start({"--seed", "1", "--color=always"});
  pass_key_wait(t);
  t.type(typed(kEighters));
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

// Whether `pid` is gone within `limit`.
bool gone_within(pid_t pid, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (kill(pid, 0) == 0) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    usleep(5000);
  }
  return true;
}

TEST(OnATerminal, AnEndingSignalEndsTheGameWhileCtrlSHoldsItsOutput) {
  for (const int sig : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
    Pty t;
    t.start({"--seed", "1", "--color=always"});
    pass_key_wait(t);
    t.type(typed(kEighters));
    ASSERT_TRUE(t.read_until(kHint));
    t.type("\x13");  // Ctrl-S: the terminal shows nothing more until Ctrl-Q
    t.read_for(300);
    kill(t.game(), sig);
    const bool ended = gone_within(t.game(), std::chrono::seconds(1));
    if (!ended) t.type("\x11");  // Ctrl-Q, so that the test itself ends
    EXPECT_TRUE(ended) << sig;
    EXPECT_EQ(t.wait(), 128 + sig);
    EXPECT_TRUE(t.becomes_raw(false));
  }
}

TEST(OnATerminal, AHangUpEndsTheGameUnlessItWasIgnoredAtStart) {
  for (const bool ignored : {false, true}) {
    Pty t;
    t.start({"--seed", "1"}, [ignored] {
      if (ignored) signal(SIGHUP, SIG_IGN);  // as under nohup
    });
    ASSERT_TRUE(t.read_until(kKeyWait));
    ASSERT_TRUE(t.becomes_raw());
    kill(t.game(), SIGHUP);
    if (ignored) {
      pass_key_wait(t);
      t.type("5\r");  // no such mode: the game ends
    }
    EXPECT_EQ(t.wait(), ignored ? 0 : 128 + SIGHUP);
  }
}

}  // namespace
}  // namespace morvane
#endif
