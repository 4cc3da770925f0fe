// What a player sees of the keys on a pseudo-terminal: the notes of a pause and of the pace, the
// keys shown again, the seed when the game is left early, the closing lines, the colours for the
// terminal's background, and the window kept open.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <cstdlib>
#include <string>

#include "support/process.hpp"
#include "support/pty.hpp"
#include "support/terminal_game.hpp"
#include "terminal/palette.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// How the terminal is told to take a note away: back to where the narration stood, and the rest
// of the screen erased.
const std::string kNoteAway =
    "\x1b"
    "8\x1b[J";

TEST(Feedback, APauseAndAChangeOfPaceSayTheirNoteAndTakeItAwayAsTheNarrationGoesOn) {
  Pty t;
  t.start({"--seed", "1", "--color=always"});
  pass_key_wait(t);
  t.type(typed(kEighters));
  wait_for_the_battle(t);
  t.type("p");
  ASSERT_TRUE(t.read_until(std::string(kPausedNote)));
  // The note is grey, after the cursor's place is kept, and nothing else moves while it shows.
  const std::size_t note = t.seen.rfind(std::string(kPausedNote));
  EXPECT_EQ(t.seen.rfind("\x1b[38;5;245m", note), note - 11);
  EXPECT_NE(t.seen.rfind("\x1b"
                         "7",
                         note),
            std::string::npos);
  t.read_for(2000);
  const std::size_t held = t.seen.size();
  t.read_for(1000);
  EXPECT_EQ(t.seen.size(), held) << "paused";
  t.type("x");
  ASSERT_TRUE(t.read_until(kNoteAway, held));
  t.type("+");
  ASSERT_TRUE(t.read_until("（速度×2）", held));
  const std::size_t faster = t.seen.find("（速度×2）", held);
  ASSERT_TRUE(t.read_until(kNoteAway, faster)) << "the pace's note goes as the narration goes on";
  t.type("-");
  ASSERT_TRUE(t.read_until("（速度×1）", faster));
  t.type("?");
  ASSERT_TRUE(t.read_until(std::string(kKeysNote), faster));
  t.type("x");
  t.type(" ");
  ASSERT_TRUE(t.read_until(kEnd, 0, 15));
  EXPECT_EQ(t.wait(), 0);
  // Without the notes, the terminal shows the narration a pipe gets.
  const std::string shown = plain_text(t.seen);
  const Outcome piped = run_morvane("--seed 1 --no-pause", kEighters);
  for (const std::string_view passing : {kPausedNote, kKeysNote})
    EXPECT_EQ(piped.out.find(std::string(passing)), std::string::npos);
  EXPECT_EQ(piped.out.find("速度×"), std::string::npos);
  EXPECT_NE(piped.out.find(between(shown, "游戏结束！", kEnd)), std::string::npos);
}

TEST(Feedback, QOrCtrlCDuringABattleEndsTheGameAsCtrlCDoesAndShowsTheSeed) {
  for (const char* key : {"q", "\x03"}) {
    Pty t;
    t.start({"--seed", "7", "--color=always"});
    pass_key_wait(t);
    t.type(typed(kEighters));
    wait_for_the_battle(t);
    t.type("p");  // a note showing, which goes first
    ASSERT_TRUE(t.read_until(std::string(kPausedNote)));
    t.type(key);
    EXPECT_EQ(t.wait(), 128 + SIGINT) << key;
    EXPECT_TRUE(t.becomes_raw(false));
    EXPECT_TRUE(t.echoes());
    const std::string shown = plain_text(t.seen);
    EXPECT_TRUE(shown.ends_with("\n种子：7\n")) << ::testing::PrintToString(
        shown.substr(shown.size() - std::min<std::size_t>(80, shown.size())));
    EXPECT_LT(t.seen.rfind(std::string(kPausedNote)), t.seen.rfind(kNoteAway)) << key;
    EXPECT_EQ(shown.find("回放："), std::string::npos) << "an unfinished game has no code";
  }
}

// A piped game in colour with these options, one whose skills show cyan and green.
std::string piped_colours(const std::string& options) {
  return run_morvane("--seed 1 --no-pause --color always " + options, kEighters).out;
}

// Whether the odds lines of a piped game with these options are in this grey.
bool odds_in(const std::string& grey, const std::string& options) {
  const std::string odds =
      run_morvane("--seed 1 --no-pause --odds --color always " + options, kEighters).out;
  return odds.find(grey + "胜率 ") != std::string::npos;
}

TEST(Feedback, ALightPaletteHasColoursReadableOnWhiteAndAPipeKeepsTheRulesOwnUnlessAsked) {
  const std::string light = piped_colours("--palette light");
  for (const char* code : {"\x1b[38;5;30m", "\x1b[38;5;28m", "\x1b[38;5;127m", "\x1b[38;5;160m"})
    EXPECT_NE(light.find(code), std::string::npos) << ::testing::PrintToString(code);
  for (const char* bright : {"\x1b[96m", "\x1b[92m", "\x1b[93m", "\x1b[95m", "\x1b[91m"})
    EXPECT_EQ(light.find(bright), std::string::npos) << ::testing::PrintToString(bright);
  // Without --palette a pipe gets the rules' codes; the dark palette differs only in its grey.
  const std::string rules = piped_colours("");
  EXPECT_TRUE(piped_colours("--palette auto") == rules);
  EXPECT_TRUE(piped_colours("--palette dark") == rules);
  EXPECT_TRUE(odds_in("\x1b[90m", ""));
  EXPECT_TRUE(odds_in("\x1b[38;5;245m", "--palette dark"));
  EXPECT_TRUE(odds_in("\x1b[38;5;245m", "--palette light"));
}

TEST(Feedback, OnATerminalTheBackgroundTheTerminalTellsChoosesThePalette) {
  // The terminal's answer to the question about its background (nothing: it answers only the
  // question after it); whether the palette is the light one.
  struct Case {
    const char* colorfgbg;  // nullptr: unset
    const char* answer;     // nullptr: the game asks nothing
    bool light;
  };
  const Case cases[] = {
      {"0;15", nullptr, true},
      {"15;default;0", nullptr, false},
      {nullptr, "\x1b]11;rgb:ffff/ffff/ffff\x1b\\", true},
      {nullptr, "\x1b]11;rgb:fdfd/f6f6/e3e3\a", true},
      {nullptr, "\x1b]11;rgb:0000/2b2b/3636\a", false},
      {nullptr, "", false},
  };
  for (const Case& c : cases) {
    Pty t;
    t.start({"--seed", "2", "--no-pause", "--color=always"}, [&c] {
      if (c.colorfgbg != nullptr) {
        setenv("COLORFGBG", c.colorfgbg, 1);
      } else {
        unsetenv("COLORFGBG");
      }
    });
    if (c.answer != nullptr) {
      ASSERT_TRUE(t.read_until(std::string(kBackgroundQuestion)));
      t.type(std::string(c.answer) + "\x1b[?62;22c");
    }
    pass_key_wait(t);
    t.type("1\r2\r甲/乙\r丙/丁\r");
    EXPECT_EQ(t.wait(), 0);
    const bool light = t.seen.find("\x1b[38;5;30m") != std::string::npos ||
                       t.seen.find("\x1b[38;5;28m") != std::string::npos;
    EXPECT_EQ(light, c.light) << (c.answer ? c.answer : c.colorfgbg);
    const bool bright = t.seen.find("\x1b[96m") != std::string::npos ||
                        t.seen.find("\x1b[92m") != std::string::npos;
    EXPECT_EQ(bright, !c.light);
    EXPECT_EQ(plain_text(t.seen).find("11;rgb"), std::string::npos) << "the answer never shows";
  }
}

TEST(Feedback, KeepOpenWaitsForAKeyAfterTheClosingLines) {
  Pty t;
  t.start({"--seed", "11", "--no-pause", "--keep-open"});
  pass_key_wait(t);
  t.type("1\r2\r甲\r乙\r");
  ASSERT_TRUE(t.read_until("按任意键关闭"));
  const std::size_t code = t.seen.find("morvane replay MV1-");
  EXPECT_LT(code, t.seen.find("按任意键关闭"));
  ASSERT_TRUE(t.becomes_raw());
  t.read_for(500);
  EXPECT_EQ(kill(t.game(), 0), 0) << "still open";
  t.type("x");
  EXPECT_EQ(t.wait(), 0);
  EXPECT_TRUE(t.becomes_raw(false));
}

}  // namespace
}  // namespace morvane
#endif
