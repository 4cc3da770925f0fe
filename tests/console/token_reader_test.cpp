#include "console/token_reader.hpp"

#include <gtest/gtest.h>

#include <sstream>

#include "console/errors.hpp"

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
      "x 12a 1e3 0x10 ４ + - +-1 -+1 2147483648 -2147483649 99999999999999999999 12345678901 "
      "1-2 +7 x 010 -2147483648 2147483647 -0");
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

TEST(TokenReader, LeadingZerosDoNotCountTowardsANumbersLength) {
  std::istringstream in(
      "0000000005 -000000000002147483648 +00000000000002147483647 "
      "000000000000000000000000000000 00000000000000000002147483648 4");
  TokenReader reader(in);
  EXPECT_EQ(reader.number(), 5);
  EXPECT_EQ(reader.number(), -2147483647 - 1);
  EXPECT_EQ(reader.number(), 2147483647);
  EXPECT_EQ(reader.number(), 0);
  EXPECT_EQ(reader.number(), 4);  // 2147483648 is one too many, however many zeros lead it
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

TEST(TokenReader, ANameLineKeepsTheNamesTheRosterCanHoldAndTheLastOfThemInner) {
  const TokenLimits three{.names_per_line = 3};
  std::istringstream in("a/b/c/d/eeeeeeeeeeeeee a/b/c a/b/c/ a/b/c// ///// next");
  TokenReader reader(in, three);
  EXPECT_EQ(reader.word(), "a/b/c/");  // c keeps its '/': it was not the line's last name
  EXPECT_EQ(reader.word(), "a/b/c");
  EXPECT_EQ(reader.word(), "a/b/c/");
  EXPECT_EQ(reader.word(), "a/b/c/");
  EXPECT_EQ(reader.word(), "///");
  EXPECT_EQ(reader.word(), "next");
}

TEST(TokenReader, ATooLongNameOrNumberTokenIsRefusedAndADroppedOneIsNot) {
  const TokenLimits limits{.token_bytes = 4, .names_per_line = 2, .name_bytes = 100};
  std::istringstream fits("abcd/efgh/ijklmnopq 12345 00001 7");
  TokenReader reader(fits, limits);
  EXPECT_EQ(reader.word(), "abcd/efgh/");  // the third name is never used, however long
  EXPECT_THROW(reader.number(), InputTooLarge);

  std::istringstream name("abcde");
  EXPECT_THROW(TokenReader(name, limits).word(), InputTooLarge);
  std::istringstream zeros("000000000000000000000001");  // one token without end, like /dev/zero
  EXPECT_THROW(TokenReader(zeros, limits).number(), InputTooLarge);
  std::istringstream ok("0001");
  EXPECT_EQ(TokenReader(ok, limits).number(), 1);
}

TEST(TokenReader, AllNameLinesTogetherHaveABound) {
  const TokenLimits limits{.token_bytes = 8, .names_per_line = 4, .name_bytes = 12};
  std::istringstream in("abcd/efgh 12345678 abc x");
  TokenReader reader(in, limits);
  EXPECT_EQ(reader.word(), "abcd/efgh");
  EXPECT_EQ(reader.number(), 12345678);  // numbers do not count towards the names' bound
  EXPECT_EQ(reader.word(), "abc");
  EXPECT_THROW(reader.word(), InputTooLarge);
}

}  // namespace
}  // namespace morvane
