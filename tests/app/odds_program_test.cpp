// `morvane --odds` as a person runs it: the odds come as lines of their own, and the game
// around them is byte for byte the game without them.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <string>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// The text without its odds lines: each runs from `start` to `end` and the line break, and
// follows a line break (where the rules may have left an escape sequence of their own).
std::string without_odds(const std::string& text, const std::string& start, const std::string& end,
                         int& lines) {
  std::string out = text;
  for (std::size_t at = 0; (at = out.find(start, at)) != std::string::npos;) {
    const std::size_t stop = out.find(end + "\n", at);
    const std::size_t line_start = out.rfind('\n', at);
    if (stop == std::string::npos || out.find('\n', at) != stop + end.size()) break;
    // Nothing but escape sequences between the line's start and the odds.
    const std::string before = out.substr(line_start + 1, at - line_start - 1);
    if (before.find_first_not_of("\x1b[0m") != std::string::npos) break;
    out.erase(at, stop + end.size() + 1 - at);
    ++lines;
  }
  return out;
}

TEST(OddsProgram, DeletingTheOddsLinesLeavesExactlyTheGameWithoutThem) {
  struct Game {
    const char* input;
    unsigned seed;
  };
  const Game games[] = {
      {"1\n2\n甲/乙/丙\n丁/戊/己\n", 1},
      {"1\n2\n甲/乙/丙\n丁/戊/己\n", 2},
      {"1\n3\ntessik/a\nb/c\n富兰克林\n", 3},
      {"1\n2\n指挥官/甲\n杰哥/乙\n", 4},
      {"2\n2\n甲/乙\n丙/丁\n", 5},
      {"2\n3\n甲\n乙\n丙\n", 6},
      {"3\n8\n1\n2\n3\n4\n", 7},
      {"3\n1\n7\n", 8},
      {"4\n1\n2\n3\n", 9},
      {"4\n8\n6\n7\n", 10},
  };
  int odds_lines = 0;
  for (const Game& game : games) {
    const std::string seed = "--seed " + std::to_string(game.seed) + " --no-pause";
    const Outcome plain = run_morvane(seed, game.input);
    ASSERT_EQ(plain.status, 0);
    const Outcome odds = run_morvane(seed + " --odds", game.input);
    EXPECT_EQ(odds.status, 0);
    EXPECT_TRUE(without_odds(odds.out, "胜率 ", "", odds_lines) == plain.out) << game.input;
    // In colour the line is grey and ends back in colour 0, where the rules had left it.
    const Outcome coloured = run_morvane(seed + " --color always --odds=verbose", game.input);
    const Outcome plain_coloured = run_morvane(seed + " --color always", game.input);
    EXPECT_TRUE(without_odds(coloured.out, "\x1b[90m胜率 ", "次）\x1b[0m", odds_lines) ==
                plain_coloured.out)
        << game.input;
  }
  EXPECT_GT(odds_lines, 40);
}

TEST(OddsProgram, TheEndlessModesOddsAreYoursOnlyWhileYouStand) {
  // At level 6 你 falls while a summon fights on and wins the battle: the level is lost.
  const Outcome r = run_morvane("--seed 49 --no-pause --odds", "3\n8\n1\n1\n1\n1\n7\n2\n");
  EXPECT_EQ(r.status, 0);
  const std::size_t end = r.out.find("你最后挑战到第6关！");
  ASSERT_NE(end, std::string::npos) << r.out;
  const std::size_t last = r.out.rfind("胜率 ", end);
  ASSERT_NE(last, std::string::npos);
  EXPECT_EQ(r.out.substr(last, r.out.find('\n', last) - last), "胜率 你 0% 敌人 100% ██████████");
  EXPECT_EQ(r.out.find("第1队"), std::string::npos) << "the mode's own sides, not team numbers";
  // The author challenge names its sides too.
  const Outcome author = run_morvane("--seed 9 --no-pause --odds", "4\n1\n2\n3\n");
  EXPECT_NE(author.out.find("胜率 挑战者 "), std::string::npos) << author.out;
  EXPECT_NE(author.out.find(" 作者 "), std::string::npos);
}

TEST(OddsProgram, AGbkTerminalGetsBarsItCanShow) {
  const Outcome r =
      run_morvane("--seed 1 --no-pause --encoding gbk --odds", "1\n2\n甲/乙\n丙/丁\n");
  EXPECT_EQ(r.status, 0);
  // "胜率 第1队 " in GBK, then a share and a bar of '#'.
  const std::string heading =
      "\xCA\xA4\xC2\xCA \xB5\xDA"
      "1\xB6\xD3 ";
  const std::size_t at = r.out.find(heading);
  ASSERT_NE(at, std::string::npos) << r.out;
  const std::string line = r.out.substr(at, r.out.find('\n', at) - at);
  EXPECT_NE(line.find('#'), std::string::npos) << line;
  EXPECT_EQ(line.find("\xE2\x96"), std::string::npos) << "no UTF-8 block characters";
}

}  // namespace
}  // namespace morvane
#endif
