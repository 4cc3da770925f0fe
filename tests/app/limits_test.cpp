// The executable at the edges: output that cannot be written, input of any size.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(Limits, OutputThatCannotBeWrittenEndsTheProgramAtOnceWithStatusOne) {
  const std::string game = "printf '1\\n2\\n甲\\n乙\\n' | " + kMorvane + " --seed 4 --no-pause";
  const std::string code = temp_path("code");
  ASSERT_EQ(shell(game + " --record " + code + " >/dev/null").status, 0);
  // Ten one-fighter teams whose summons block each other: with no round cap, a battle without
  // end. `timeout` stands between a game that would never end and a test that would never end.
  const std::string endless =
      "printf '1\\n10\\na\\nb\\nc\\nd\\ne\\nf\\ng\\nh\\ni\\nj\\n' | timeout 60 " + kMorvane +
      " --seed 9105 --max-rounds 0 --no-pause";
  const std::string runs[] = {endless,
                              kMorvane + " --help",
                              kMorvane + " --version",
                              kMorvane + " replay --help",
                              kMorvane + " replay " + code,
                              kMorvane + " simulate --help",
                              kMorvane + " simulate --games 5 甲 乙"};
  const std::pair<const char*, const char*> outputs[] = {{">/dev/full", "No space left on device"},
                                                         {">&-", "Bad file descriptor"}};
  for (const auto& [redirect, reason] : outputs) {
    for (const std::string& run : runs) {
      const Outcome r = shell(run + " 2>&1 " + redirect);
      EXPECT_EQ(r.status, 1) << run << redirect;
      EXPECT_EQ(r.out, std::string("morvane: 写入失败：") + reason + "\n") << run << redirect;
    }
  }
  std::remove(code.c_str());
  const Outcome recorded = shell(game + " --record /dev/full 2>&1 >/dev/null");
  EXPECT_EQ(recorded.status, 1);
  EXPECT_EQ(recorded.out, "morvane: 写入失败：/dev/full: No space left on device\n");
}

// A run of the game with its peak memory, as the kernel counted it for the child.
struct Measured {
  int status = -1;
  std::string err;
  long max_rss_kb = 0;
};

// Runs a game with standard output to /dev/null and standard input from the shell command
// `input`, or from the file after its "<".
Measured run_measured(const std::string& input) {
  Measured m;
  const std::string err_path = temp_path("err");
  const bool file = input.starts_with("<");
  FILE* in = file ? std::fopen(input.c_str() + 1, "re") : popen(input.c_str(), "re");
  const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (in == nullptr || out < 0 || err < 0) return m;
  const pid_t pid = start_morvane({"--seed", "3", "--no-pause"}, fileno(in), out, err);
  close(out);
  close(err);
  const auto [status, peak_kb] = wait_with_peak(pid);
  // A game that stopped reading: closing the pipe ends the command that fills it.
  if (file) {
    std::fclose(in);
  } else {
    pclose(in);
  }
  m.status = status;
  m.max_rss_kb = peak_kb;
  m.err = contents(err_path);
  std::remove(err_path.c_str());
  return m;
}

TEST(Limits, InputOfAnySizeIsPlayedOrRefusedWithinTheMemoryBound) {
  const std::string hundred_mb = "head -c 100000000 /dev/zero | tr '\\0' x";
  const std::tuple<std::string, int, std::string> inputs[] = {
      {"{ printf '1\\n2\\n'; yes abcd/ | tr -d '\\n' | head -c 100000000; printf '\\n甲\\n'; }", 0,
       ""},
      {"{ printf '1\\n2\\n'; " + hundred_mb + "; printf '\\n甲\\n'; }", 2,
       "morvane: 名字太长：一个名字最多1048576字节\n"},
      {"</dev/zero", 2, "morvane: 输入太长"},
      // Names beyond what any game can hold, each within a name's bound.
      {"{ printf '1\\n1004\\n'; " + hundred_mb + " | fold -b -w 524288 | tr '\\n' ' '; }", 2,
       "morvane: 名字太多"},
  };
  for (const auto& [input, status, message] : inputs) {
    const Measured m = run_measured(input);
    EXPECT_EQ(m.status, status) << input << ": " << m.err;
    EXPECT_TRUE(m.err.starts_with(message)) << input << ": " << m.err;
    EXPECT_LT(m.max_rss_kb, kMemoryBoundKb) << input;
  }
}

}  // namespace
}  // namespace morvane
#endif
