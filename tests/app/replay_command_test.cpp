// `morvane replay` and --record, from a shell.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <tuple>
#include <utility>

#include "replay/replay_code.hpp"
#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

const std::string kMatch = "printf '1\\n3\\n甲/tessik\\n乙/丙\\n杰哥\\n' | ";

// Records the match's code in a file; its path.
std::string recorded_match() {
  const std::string file = temp_path("code");
  EXPECT_EQ(
      shell(kMatch + kMorvane + " --seed 21 --no-pause --record " + file + " >/dev/null").status,
      0);
  return file;
}

TEST(ReplayCommand, ARecordedCodeReplaysThePipedGamesBytesAskingNothing) {
  const std::string file = recorded_match();
  const std::string code = contents(file);
  ASSERT_TRUE(code.starts_with("MV1-") && code.ends_with("\n")) << code;
  for (const std::string options : {" --no-pause", " --no-pause --color always"}) {
    const Outcome piped = shell(kMatch + kMorvane + " --seed 21" + options);
    // Whatever waits on standard input is not read.
    const Outcome from_file = shell("yes 5 | " + kMorvane + " replay" + options + " " + file);
    const Outcome from_code =
        shell(kMorvane + options + " replay " + code.substr(0, code.size() - 1) + " </dev/null");
    EXPECT_EQ(from_file.status, 0);
    EXPECT_EQ(from_file.out, piped.out) << options;
    EXPECT_EQ(from_code.out, piped.out) << options;
  }
  // --record on a piped game adds nothing to what it writes.
  EXPECT_EQ(shell(kMatch + kMorvane + " --seed 21 --no-pause --record " + file).out,
            shell(kMatch + kMorvane + " --seed 21 --no-pause").out);
  // A replay records the same code again, and the code's own seed may be named.
  const std::string again = temp_path("again");
  EXPECT_EQ(shell(kMorvane + " replay --seed 21 --no-pause --record " + again + " " + file).status,
            0);
  EXPECT_EQ(contents(again), code);
  std::remove(file.c_str());
  std::remove(again.c_str());
}

TEST(ReplayCommand, DamagedNewerTooLargeAndForeignCodesAreRefusedWithStatusTwo) {
  const std::string file = recorded_match();
  std::string code = contents(file);
  code.pop_back();
  std::remove(file.c_str());
  const auto fight = replay::decode(code).fight;
  ASSERT_TRUE(fight);
  replay::Fight other = *fight;
  other.digest ^= 0x100;  // told otherwise by another version's rules
  std::string changed = code;
  changed[20] = changed[20] == 'x' ? 'y' : 'x';

  const std::pair<std::string, std::string> refusals[] = {
      {changed, "回放码已损坏"},
      {code.substr(0, code.size() - 5), "回放码已损坏"},
      {"MV1-" + std::string(70000, 'A'), "回放码太长"},
      {"MV2-AAAA", "更新版本"},
      {"hello", "找不到文件：hello"},
      {replay::encode(other), "不一样"},
  };
  for (const auto& [bad, message] : refusals) {
    const Outcome r = shell(kMorvane + " replay --no-pause " + bad + " 2>&1");
    EXPECT_EQ(r.status, 2) << bad.substr(0, 40);
    EXPECT_TRUE(r.out.starts_with("morvane: ")) << r.out;
    EXPECT_NE(r.out.find(message), std::string::npos) << r.out;
  }
  // The code holds the fight's seed and round cap: another one is refused.
  for (const char* option : {"--seed 22", "--max-rounds 5"}) {
    const Outcome r = shell(kMorvane + " replay " + option + " " + code + " 2>&1 >/dev/null");
    EXPECT_EQ(r.status, 2) << option;
  }
  const std::string huge = temp_path("huge");
  std::ofstream(huge) << std::string(200000, 'A');
  EXPECT_EQ(shell(kMorvane + " replay " + huge + " 2>/dev/null").status, 2);
  std::remove(huge.c_str());
}

TEST(ReplayCommand, AGameTooLargeForACodeSaysSoAndKeepsItsStatus) {
  const std::string file = temp_path("none");
  // Two names of 600 KB: each within a name's bound, together more than a code holds.
  const Outcome r = shell(
      "{ printf '1\\n2\\n'; head -c 600000 /dev/zero | tr '\\0' a; printf /; "
      "head -c 600000 /dev/zero | tr '\\0' b; printf '\\nc\\n'; } | " +
      kMorvane + " --seed 1 --no-pause --record " + file + " 2>&1 >/dev/null");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("没有回放码"), std::string::npos) << r.out;
  EXPECT_FALSE(std::ifstream(file).good());
}

TEST(ReplayCommand, AFightThatNarratesMoreThanTheBudgetHasNoCode) {
  // 45 characters: a name of 100 KB and 18,883 rounds, which would narrate 4.1 GB.
  const std::string code = "MV1-Aa-NBu-2lBoA2SpekAQIwZoMUQCNjQYgA2LJvLzK";
  const Outcome refused = shell(kMorvane + " replay --no-pause " + code + " 2>&1");
  EXPECT_EQ(refused.status, 2);
  EXPECT_EQ(refused.out, "morvane: 回放码里的战斗太长，无法回放\n");
  // Its game played again, cut at 400 rounds: 90 MB of narration, past the budget.
  const std::string file = temp_path("long");
  const Outcome recorded =
      shell("{ printf '1\\n2\\n'; head -c 100000 /dev/zero | tr '\\0' Q; printf '\\nb\\n'; } | " +
            kMorvane + " --seed 428598 --max-rounds 400 --no-pause --record " + file +
            " 2>&1 >/dev/null");
  EXPECT_EQ(recorded.status, 0);
  EXPECT_EQ(recorded.out, "morvane: 这局游戏太长，没有回放码，" + file + " 没有写入\n");
  EXPECT_FALSE(std::ifstream(file).good());
}

TEST(ReplayCommand, TheRecordFileIsCheckedBeforeAnythingIsAsked) {
  const std::string code = "MV1-Aa-NBu-2lBoA2SpekAQIwZoMUQCNjQYgA2LJvLzK";
  const std::string loop = temp_path("loop");
  ASSERT_EQ(symlink(loop.c_str(), loop.c_str()), 0);
  const std::tuple<std::string, int, std::string> refusals[] = {
      {"/nonexistent/x", 1, "morvane: 写入失败：/nonexistent/x：没有这个文件或目录\n"},
      {"/", 1, "morvane: 写入失败：/：这是一个目录\n"},
      {"''", 2, "morvane: --record 的文件名不能是空的\n"},
      {loop, 1, "morvane: 写入失败：" + loop + "：符号链接的层数太多\n"},
  };
  for (const auto& [path, status, message] : refusals) {
    for (const std::string& command : {std::string(" --seed 1"), " replay " + code}) {
      // A whole game's answers: a game that began would show its menu and play.
      const Outcome r = shell("printf '1\\n2\\na\\nb\\n' | " + kMorvane + command + " --record " +
                              path + " 2>&1");
      EXPECT_EQ(r.status, status) << command << path;
      EXPECT_EQ(r.out.substr(0, r.out.find("用 morvane")), message) << command << path;
    }
  }
  std::remove(loop.c_str());
  // A link to a file not made yet is written through, as the shell's > would.
  const std::string link = temp_path("link"), end = temp_path("link_end");
  ASSERT_EQ(symlink(end.c_str(), link.c_str()), 0);
  EXPECT_EQ(shell("printf '1\\n2\\na\\nb\\n' | " + kMorvane + " --seed 1 --no-pause --record " +
                  link + " >/dev/null")
                .status,
            0);
  EXPECT_EQ(contents(end).substr(0, 4), "MV1-");
  std::remove(link.c_str());
  std::remove(end.c_str());
}

TEST(ReplayCommand, AnInterruptedGameLeavesNoRecordFileBehindAndAnOldOneAsItWas) {
  for (const bool existed : {false, true}) {
    const std::string file = temp_path("interrupted");
    if (existed) std::ofstream(file) << "MV1-old\n";
    int typing[2];
    ASSERT_EQ(pipe2(typing, O_CLOEXEC), 0);
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t game = start_morvane({"--seed", "1", "--record", file}, typing[0], nowhere, -1);
    close(nowhere);
    if (write(typing[1], "1\n2\n", 4) != 4) ADD_FAILURE() << "could not type";
    usleep(300'000);  // the game waits for the first team's names
    EXPECT_EQ(std::ifstream(file).good(), existed) << "nothing is made during the game";
    kill(game, SIGTERM);
    int raw = 0;
    waitpid(game, &raw, 0);
    close(typing[0]);
    close(typing[1]);
    EXPECT_EQ(exit_status(raw), 128 + SIGTERM);
    EXPECT_EQ(contents(file), existed ? "MV1-old\n" : "");
    EXPECT_EQ(std::ifstream(file).good(), existed);
    std::remove(file.c_str());
  }
}

TEST(ReplayCommand, TheFightOfACodeIsFoundInWhatAPersonHandsOver) {
  const std::string file = recorded_match();
  std::string code = contents(file);
  code.pop_back();
  const std::string piped = shell(kMatch + kMorvane + " --seed 21 --no-pause").out;
  const std::string line = "种子：21　回放：morvane replay " + code;
  std::string utf16 = "\xFF\xFE";
  for (const char c : code + "\r\n")
    utf16 += std::string{c, '\0'};
  const std::pair<std::string, std::string> files[] = {
      {"blanks", code.substr(0, 10) + "\n" + code.substr(10, 10) + " " + code.substr(20) + "\n"},
      {"line", line + "\n"},
      {"link", "https://example.org/morvane/index.html#" + code},
      {"bom", "\xEF\xBB\xBF" + code + "\r\n"},
      {"utf16", utf16},
  };
  for (const auto& [name, text] : files) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
    EXPECT_EQ(shell(kMorvane + " replay --no-pause " + file + " </dev/null").out, piped) << name;
    EXPECT_EQ(shell(kMorvane + " replay --no-pause - <" + file).out, piped) << name;
  }
  // The copied line as the argument itself, quoted as a shell needs it.
  EXPECT_EQ(shell(kMorvane + " replay --no-pause '" + line + "' </dev/null").out, piped);
  std::remove(file.c_str());
}

}  // namespace
}  // namespace morvane
#endif
