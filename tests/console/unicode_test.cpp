#include "console/unicode.hpp"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

using unicode::decode_utf8;

TEST(Utf8, EachWellFormedSequenceGivesItsCodePointAndLength) {
  EXPECT_EQ(decode_utf8("a甲").cp, U'a');
  EXPECT_EQ(decode_utf8("a甲").length, 1u);
  EXPECT_EQ(decode_utf8("\xC2\xB7").cp, U'\u00B7');
  EXPECT_EQ(decode_utf8("甲乙").cp, U'甲');
  EXPECT_EQ(decode_utf8("甲乙").length, 3u);
  EXPECT_EQ(decode_utf8("\xF0\x9F\x98\x80").cp, U'\U0001F600');
  EXPECT_EQ(decode_utf8("\xF4\x8F\xBF\xBF").length, 4u);  // U+10FFFF, the last code point
}

TEST(Utf8, MalformedSequencesAreNotCharacters) {
  for (const std::string bad : {
           "", "\x80", "\xBF", "\xFF",              // no lead byte
           "\xC0\x80", "\xE0\x80\x80",              // overlong forms of NUL
           "\xED\xA0\x80",                          // a surrogate
           "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",  // past U+10FFFF
           "\xE7\x94", "\xE7\x94\x61", "\xC3\xC3"   // cut short
       }) {
    EXPECT_EQ(decode_utf8(bad).length, 0u) << ::testing::PrintToString(bad);
  }
}

TEST(Utf16, TextReadInPiecesComesOutWholeAndALoneSurrogateAsTheReplacementCharacter) {
  unicode::Utf16Decoder decoder;
  EXPECT_EQ(decoder.decode(u"甲/a b\r\n"), "甲/a b\r\n");
  // U+1F600 is a surrogate pair; a console read may end between its halves.
  EXPECT_EQ(decoder.decode(u"乙\xD83D"), "乙");
  EXPECT_EQ(decoder.decode(u"\xDE00丙"), "\xF0\x9F\x98\x80丙");
  EXPECT_EQ(decoder.decode(u"\xD83D\xDE00\x00B7"), "\xF0\x9F\x98\x80\xC2\xB7");
  const std::string replacement = "\xEF\xBF\xBD";
  EXPECT_EQ(decoder.decode(u"\xDE00\x61"), replacement + "a");
  EXPECT_EQ(decoder.decode(u"\xD83D\x62"), replacement + "b");
  EXPECT_EQ(decoder.decode(u"\xD83D\xD83D\xDE00"), replacement + "\xF0\x9F\x98\x80");
}

}  // namespace
}  // namespace morvane
