#include "console/token_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace morvane {
namespace {

TEST(TokenReader, WordsAreSplitAtEverySixAsciiBlanksAndNothingElse) {
  // A no-break space (UTF-8 C2 A0) and the ideographic space are part of a word.
  std::istringstream in(" a\tb\nc\vd\fe\rf \t\r\n g\xC2\xA0h 甲　乙  ");
  TokenReader reader(in);
  for (const char* expected : {"a", "b", "c", "d", "e", "f", "g\xC2\xA0h", "甲　乙"})
    EXPECT_EQ(reader.word(), expected);
  EXPECT_EQ(reader.word(), "");
  EXPECT_EQ(reader.word(), "");
}

TEST(TokenReader, ANumberReadPassesOverTokensThatAreNotThirtyTwoBitDecimals) {
  std::istringstream in(
      "x 12a 1e3 0x10 ４ + - +-1 -+1 2147483648 -2147483649 99999999999999999999 +7 "
      "x 010 -2147483648 2147483647 -0");
  TokenReader reader(in);
  EXPECT_EQ(reader.number(), 7);
  EXPECT_EQ(reader.number(), 10);
  EXPECT_EQ(reader.number(), -2147483647 - 1);
  EXPECT_EQ(reader.number(), 2147483647);
  EXPECT_EQ(reader.number(), 0);
  EXPECT_EQ(reader.number(), 0);  // end of input

  // -0 is a number of its own, not junk to pass over: the token after it is the next number.
  std::istringstream zero("-0 5");
  TokenReader after_zero(zero);
  EXPECT_EQ(after_zero.number(), 0);
  EXPECT_EQ(after_zero.number(), 5);
}

TEST(TokenReader, ANumberTakesOnlyItsOwnTokenAndEndOfInputGivesZeroOrNothing) {
  std::istringstream in("junk 3 tessik/甲\n4 abc");
  TokenReader reader(in);
  EXPECT_EQ(reader.number(), 3);
  EXPECT_EQ(reader.word(), "tessik/甲");
  EXPECT_EQ(reader.word(), "4");
  EXPECT_EQ(reader.number(), 0);  // abc is passed over, then the input ends
  EXPECT_EQ(reader.word(), "");
}

}  // namespace
}  // namespace morvane
