#include "terminal/terminal.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "console/errors.hpp"
#include "terminal/platform.hpp"

namespace morvane {
namespace {

TEST(Colors, TheOptionWinsAndAutoWantsATerminalWithoutNoColorThatIsNotDumb) {
  for (const bool tty : {false, true}) {
    EXPECT_TRUE(colors_wanted(ColorChoice::Always, tty, "1", true));
    EXPECT_FALSE(colors_wanted(ColorChoice::Never, tty, nullptr, false));
  }
  EXPECT_TRUE(colors_wanted(ColorChoice::Auto, true, nullptr, false));
  EXPECT_TRUE(colors_wanted(ColorChoice::Auto, true, "", false));  // set but empty: unset
  EXPECT_FALSE(colors_wanted(ColorChoice::Auto, true, "0", false));
  EXPECT_FALSE(colors_wanted(ColorChoice::Auto, false, nullptr, false));
  EXPECT_FALSE(colors_wanted(ColorChoice::Auto, true, nullptr, true));
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

// The terminal console writing to memory: every write it makes, and the failures it is told of.
struct Memory {
  std::vector<std::string> writes;
  int fail_with = 0;  // the error of every write from now on; 0: none
  int failed_writes = 0;

  Output output(bool terminal) {
    return {[this](std::string_view bytes) {
              if (fail_with != 0) {
                ++failed_writes;
                return fail_with;
              }
              writes.emplace_back(bytes);
              return 0;
            },
            terminal};
  }
  std::string all() const {
    std::string joined;
    for (const std::string& w : writes)
      joined += w;
    return joined;
  }
};

TerminalOptions quiet_options(ColorChoice color = ColorChoice::Never) {
  TerminalOptions options;
  options.color = color;
  options.encoding = EncodingChoice::Utf8;
  options.no_pause = true;
  options.interactive = false;
  return options;
}

TEST(TerminalConsole, AFileGetsTheBytesInBlocksAndATerminalAtEveryLineAndTheNote) {
  std::istringstream in;
  Memory file;
  {
    TerminalConsole console(quiet_options(ColorChoice::Always), in, file.output(false));
    console.color(4);
    console.write("甲");
    console.write(-12);
    console.endl();
    console.clear();  // a file is not cleared
    console.write("乙");
    EXPECT_TRUE(file.writes.empty());
    console.finish("not for a file");  // the caller decides: it is written as asked
  }
  EXPECT_EQ(file.all(), "\x1b[91m甲-12\n乙\x1b[0mnot for a file\n");
  EXPECT_EQ(file.writes.size(), 1u);

  Memory tty;
  {
    TerminalConsole console(quiet_options(), in, tty.output(true));
    console.write("甲");
    console.endl();
    console.clear();
    console.write("如果想再来请重新运行程序");
    EXPECT_EQ(tty.writes, std::vector<std::string>{"甲\n"});
  }  // finished on the way out: the last line ends, so the prompt does not follow it
  EXPECT_EQ(tty.all(), "甲\n\x1b[2J\x1b[H如果想再来请重新运行程序\n");

  // A game that ended its last line gets no empty line before the note.
  Memory ended;
  {
    TerminalConsole console(quiet_options(), in, ended.output(true));
    console.write("甲");
    console.endl();
    console.finish("种子：1\n回放：\nmorvane replay MV1-A");
  }
  EXPECT_EQ(ended.all(), "甲\n种子：1\n回放：\nmorvane replay MV1-A\n");
}

TEST(TerminalConsole, TheFirstFailedWriteEndsTheGameAndNothingIsTriedAgain) {
  std::istringstream in("3");
  Memory tty;
  auto console = std::make_unique<TerminalConsole>(quiet_options(), in, tty.output(true));
  console->write("甲");
  tty.fail_with = ENOSPC;
  try {
    console->endl();
    FAIL() << "a failed write must end the game";
  } catch (const OutputFailed& e) {
    EXPECT_EQ(e.error(), ENOSPC);
    EXPECT_STREQ(e.what(), "No space left on device");
  }
  // Whatever the rules were about to do next, nothing more is written or tried.
  console->write("乙");
  console->endl();
  EXPECT_EQ(console->read_number(), 3);
  console.reset();
  EXPECT_EQ(tty.failed_writes, 1);
}

TEST(TerminalConsole, GbkGoesOutAndComesInConverted) {
  std::istringstream in("\xBD\xDC\xB8\xE7/x");
  TerminalOptions options = quiet_options();
  options.encoding = EncodingChoice::Gbk;
  Memory file;
  {
    TerminalConsole console(options, in, file.output(false));
    EXPECT_EQ(console.read_word(), "杰哥/x");
    console.write("作者");
    console.finish("种子：1");
  }
  EXPECT_EQ(file.all(),
            "\xD7\xF7\xD5\xDF\xD6\xD6\xD7\xD3\xA3\xBA"
            "1\n");
}

TEST(TerminalConsole, ATerminalIsShownControlsAsTextWhileAFileGetsTheBytes) {
  const std::string name = "\x1b]0;pwned\a\xc2\x9b";
  for (const bool gbk : {false, true}) {
    std::istringstream in;
    TerminalOptions options = quiet_options(ColorChoice::Always);
    options.encoding = gbk ? EncodingChoice::Gbk : EncodingChoice::Utf8;
    Memory tty, file;
    for (Memory* memory : {&tty, &file}) {
      TerminalConsole console(options, in, memory->output(memory == &tty));
      console.color(2);
      console.write(name);
      console.write("发动攻击，");
      console.finish("种子：1");
    }
    const std::string attack = gbk ? "\xB7\xA2\xB6\xAF\xB9\xA5\xBB\xF7\xA3\xAC" : "发动攻击，";
    const std::string seed = gbk ? "\xD6\xD6\xD7\xD3\xA3\xBA"
                                   "1"
                                 : "种子：1";
    // The colours are the console's own; the name's escapes are not.
    EXPECT_EQ(tty.all(), "\x1b[92m^[]0;pwned^GM-^[" + attack + "\x1b[0m\n" + seed + "\n");
    EXPECT_EQ(file.all(), "\x1b[92m" + name + attack + "\x1b[0m" + seed + "\n");
  }
}

TEST(TerminalConsole, KeysNeverPaceAConsoleThatIsNotTheTerminal) {
  // A console writing to memory reads no keys: no hint, no raw mode, battles as they come.
  std::istringstream in;
  Memory tty;
  TerminalOptions options = quiet_options();
  options.no_pause = false;
  options.speed = 1000;
  TerminalConsole console(options, in, tty.output(true));
  console.battle_begins();
  console.pause(1);
  console.write("甲");
  console.endl();
  console.battle_ends();
  EXPECT_EQ(tty.all(), "甲\n");
}

}  // namespace
}  // namespace morvane
