// Text laid out for a terminal: columns counted as a terminal shows them, lines broken where
// Chinese and the options' names allow.

#include "app/text_layout.hpp"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

TEST(TextLayout, ChineseCharactersAndPunctuationTakeTwoColumns) {
  EXPECT_EQ(display_width("--seed N"), 8);
  EXPECT_EQ(display_width("种子：1"), 7);
  EXPECT_EQ(display_width("胜率 ██▎"), 8);  // block elements are narrow
  EXPECT_EQ(display_width("\xff\xfe"), 2);  // a byte that is no character still takes a column
}

TEST(TextLayout, LinesBreakBetweenChineseCharactersAndAtSpacesOnly) {
  struct Case {
    std::string text;
    int width;
    std::string wrapped;
  };
  const Case cases[] = {
      // Fits: left as it is.
      {"  --no-pause    不停顿", 22, "  --no-pause    不停顿"},
      // A description hangs under itself; the number stays whole on the next line.
      {"  --max-rounds N    一场战斗过了N回合就判为平局（默认100000）", 44,
       "  --max-rounds N    一场战斗过了N回合就判为\n"
       "                    平局（默认100000）"},
      // No line starts with closing punctuation, nor ends with opening punctuation.
      {"甲乙丙丁戊己庚辛，壬癸（子丑）寅", 16, "甲乙丙丁戊己庚\n辛，壬癸（子丑）\n寅"},
      // Words break at spaces, which the break takes away.
      {"  aaaa bbbb cccc dddd", 14, "  aaaa bbbb\n  cccc dddd"},
      // A word wider than the line is left whole, on a line of its own.
      {"甲 abcdefghijklmnopqrstuvwxyz 乙", 16, "甲\nabcdefghijklmnopqrstuvwxyz\n乙"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(wrap_text(c.text, c.width), c.wrapped) << c.text;
  // Every line is wrapped on its own; empty lines stay.
  EXPECT_EQ(wrap_text("甲乙丙丁戊己庚辛壬癸\n\n子", 10), "甲乙丙丁戊\n己庚辛壬癸\n\n子");
}

TEST(TextLayout, AHangingIndentThatLeavesNoRoomMovesLeft) {
  // At 24 columns, a description from column 16 would have eight: it goes on at the line's
  // indentation plus four.
  EXPECT_EQ(wrap_text("  --seed N      甲乙丙丁戊己庚辛壬癸子丑", 24),
            "  --seed N      甲乙丙丁\n      戊己庚辛壬癸子丑");
}

}  // namespace
}  // namespace morvane
