#include "console/terminal.hpp"

#include <gtest/gtest.h>

#include "console/platform.hpp"

namespace morvane {
namespace {

TEST(Colors, TheOptionWinsAndAutoWantsATerminalWithoutNoColor) {
  for (const bool tty : {false, true}) {
    EXPECT_TRUE(colors_wanted(ColorChoice::Always, tty, "1"));
    EXPECT_FALSE(colors_wanted(ColorChoice::Never, tty, nullptr));
  }
  EXPECT_TRUE(colors_wanted(ColorChoice::Auto, true, nullptr));
  EXPECT_TRUE(colors_wanted(ColorChoice::Auto, true, ""));  // set but empty counts as unset
  EXPECT_FALSE(colors_wanted(ColorChoice::Auto, true, "0"));
  EXPECT_FALSE(colors_wanted(ColorChoice::Auto, false, nullptr));
}

TEST(Encoding, AutoPicksGbkForTheGbkFamilyInAnyLetterCase) {
  for (const char* codeset : {"GBK", "gbk", "GB2312", "gb18030", "GB18030", "CP936", "cp936"})
    EXPECT_TRUE(gbk_wanted(EncodingChoice::Auto, codeset)) << codeset;
  for (const char* codeset : {"UTF-8", "ANSI_X3.4-1968", "", "GBKX", "BIG5"})
    EXPECT_FALSE(gbk_wanted(EncodingChoice::Auto, codeset)) << codeset;
  EXPECT_TRUE(gbk_wanted(EncodingChoice::Gbk, "UTF-8"));
  EXPECT_FALSE(gbk_wanted(EncodingChoice::Utf8, "GBK"));
}

TEST(Encoding, GbkNamesSurviveTheRoundTripAndStrayBytesPassThrough) {
  const std::string gbk = "\xBD\xDC\xB8\xE7";  // 杰哥
  EXPECT_EQ(platform::utf8_to_gbk()->convert("杰哥"), gbk);
  EXPECT_EQ(platform::gbk_to_utf8()->convert(gbk), "杰哥");
  EXPECT_EQ(platform::utf8_to_gbk()->convert("a\xFF"
                                             "作者/"),
            "a\xFF\xD7\xF7\xD5\xDF/");
  // An emoji has no GBK form: its bytes go out as they are, and the text after it converts.
  EXPECT_EQ(platform::utf8_to_gbk()->convert("\xF0\x9F\x98\x80甲"), "\xF0\x9F\x98\x80\xBC\xD7");
  EXPECT_EQ(platform::gbk_to_utf8()->convert("x\x81"), "x\x81");  // a lead byte cut short
}

}  // namespace
}  // namespace morvane
