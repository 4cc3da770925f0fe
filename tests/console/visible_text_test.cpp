#include "console/visible_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace morvane {
namespace {

using namespace std::string_literals;

TEST(VisibleText, ControlsAndStrayBytesAreShownTheWayCatDashVShowsThem) {
  const std::pair<std::string, std::string> cases[] = {
      {"甲发动攻击，\t第1队\n", "甲发动攻击，\t第1队\n"},  // the narration as it is
      {"\x1b]52;c;aGVsbG8=\a", "^[]52;c;aGVsbG8=^G"},      // the clipboard write
      {"\x1b[2J\r\b", "^[[2J^M^H"},
      {"a\0b\x7f"s, "a^@b^?"},
      {"\xc2\x9b"
       "31m\xc2\x80\xc2\x9f",
       "M-^[31mM-^@M-^_"},             // C1 controls as characters
      {"\xc2\xa0é€🐉", "\xc2\xa0é€🐉"},  // no-break space and beyond: text
      {"\x9b"
       "31m\xe9\xff\xe2\x82",
       "M-^[31mM-iM-^?M-bM-^B"},         // bytes that are no part of a character
      {"\xe2\x80\xae", "\xe2\x80\xae"},  // a right-to-left override is no terminal command
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(visible_utf8(text), shown) << ::testing::PrintToString(text);
}

TEST(VisibleText, GbkKeepsItsCharactersAndShowsWhatIsNoneOfThem) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xBD\xDC\xB8\xE7 x", "\xBD\xDC\xB8\xE7 x"},      // 杰哥
      {"\x81\x40\xFE\xFE\x80", "\x81\x40\xFE\xFE\x80"},  // the edges of the pairs, and the euro
      // A character GBK lacks passes through as UTF-8: U+200B leaves a 0x8B that pairs with
      // nothing, and would be a C1 control to an 8-bit terminal.
      {"\xE2\x80\x8B,", "\xE2\x80M-^K,"},
      {"\x81\x7F\x81", "M-^A^?M-^A"},
      {"\xFF", "M-^?"},
  };
  for (const auto& [text, shown] : cases)
    EXPECT_EQ(visible_gbk(text), shown) << ::testing::PrintToString(text);
}

}  // namespace
}  // namespace morvane
