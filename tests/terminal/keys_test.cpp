#include "terminal/keys.hpp"

#include <gtest/gtest.h>

#include <string>

namespace morvane::keys {
namespace {

// How many bytes the first key takes; 0: it is cut short and the rest must be waited for.
TEST(Keys, AKeyIsAWholeEscapeSequenceOrCharacterAndACutShortOneAsksForTheRest) {
  const std::pair<std::string, std::size_t> keys[] = {
      {"\x1b[A1", 3},           // Up, then a key of its own
      {"\x1b[1;5C", 6},         // Ctrl+Right
      {"\x1b[15~x", 5},         // F5
      {"\x1b[24;2~", 7},        // Shift+F12
      {"\x1bOP", 3},            // F1
      {"\x1bO2Q", 4},           // Shift+F2, as older terminals send it
      {"\x1b[[A", 4},           // F1 on the Linux console
      {"\x1b[200~abc", 6},      // the start of a bracketed paste
      {"\x1bx", 2},             // Alt+x
      {"\x1b\xe7\x94\xb2", 4},  // Alt+甲
      {"\x1b\x1b[A", 1},        // Escape, then Up
      {"\x1b[1\x03", 3},        // cut short by Ctrl-C: the sequence ends before it
      {"甲乙", 3},
      {"\xc3\xa9!", 2},
      {"\xf0\x9f\x98\x80", 4},
      {"\xe7x", 1},  // a broken character: its lead byte alone
      {"\x80\x80", 1},
      {"ab", 1},
      {"\r\n", 1},
  };
  for (const auto& [bytes, length] : keys)
    EXPECT_EQ(key_length(bytes), length) << ::testing::PrintToString(bytes);
  for (const std::string bytes : {"", "\x1b", "\x1b[", "\x1b[1;5", "\x1bO", "\x1b[[", "\xe7",
                                  "\xe7\x94", "\xf0\x9f\x98", "\x1b\xe7"})
    EXPECT_EQ(key_length(bytes), 0u) << ::testing::PrintToString(bytes);
}

TEST(Keys, AGbkCharacterIsOneKeyEvenWhenItsTrailIsALetter) {
  // 關 筆 雙 揚: their trails are P, P, p, P.
  const std::string gbk = "\xEA\x50\xB9\x50\xEB\x70\x93\x50";
  std::string_view rest = gbk;
  int keys = 0;
  while (!rest.empty()) {
    const std::size_t n = key_length(rest, true);
    ASSERT_EQ(n, 2u) << keys;
    EXPECT_EQ(control_of(rest.substr(0, n)), Control::None);
    rest.remove_prefix(n);
    ++keys;
  }
  EXPECT_EQ(keys, 4);
  const std::pair<std::string, std::size_t> more[] = {
      {"\x81\x30\x81\x30x", 4},  // GB18030's four bytes
      {"\x1b\xEA\x50", 3},       // Alt with a GBK character
      {"\xEA\x7F", 1},           // no trail: the lead byte alone
      {"\x81\x30\x20", 1},      {"p", 1},
  };
  for (const auto& [bytes, length] : more)
    EXPECT_EQ(key_length(bytes, true), length) << ::testing::PrintToString(bytes);
  for (const std::string cut : {"\xEA", "\x81\x30", "\x81\x30\x81", "\x1b\xEA"})
    EXPECT_EQ(key_length(cut, true), 0u) << ::testing::PrintToString(cut);
  // Read as UTF-8 the same bytes fall apart, and a trail reads as p.
  EXPECT_EQ(key_length("\xEA\x50", false), 1u);
}

TEST(Keys, SpaceAndEnterFastForwardPlusAndMinusPaceAndPPauses) {
  EXPECT_EQ(control_of(" "), Control::FastForward);
  EXPECT_EQ(control_of("\r"), Control::FastForward);
  EXPECT_EQ(control_of("\n"), Control::FastForward);
  EXPECT_EQ(control_of("+"), Control::Faster);
  EXPECT_EQ(control_of("-"), Control::Slower);
  EXPECT_EQ(control_of("p"), Control::Pause);
  EXPECT_EQ(control_of("P"), Control::Pause);
  EXPECT_EQ(control_of("?"), Control::Help);
  EXPECT_EQ(control_of("q"), Control::Quit);
  EXPECT_EQ(control_of("Q"), Control::Quit);
  for (const std::string other : {"x", "1", "\x1b[A", "\x1bOM", "甲", "\x1b "})
    EXPECT_EQ(control_of(other), Control::None) << ::testing::PrintToString(other);
}

}  // namespace
}  // namespace morvane::keys
