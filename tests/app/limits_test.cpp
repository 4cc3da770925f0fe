// The executable at the edges: output that cannot be written, input of any size.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

const std::string kBin = MORVANE_BIN;
// Ten one-fighter teams whose summons block each other: with no round cap, a battle without end.
const std::string kEndless = "printf '1\\n10\\na\\nb\\nc\\nd\\ne\\nf\\ng\\nh\\ni\\nj\\n' | ";

TEST(Limits, OutputThatCannotBeWrittenEndsTheGameAtOnceWithStatusOne) {
  const std::pair<const char*, const char*> outputs[] = {{">/dev/full", "No space left on device"},
                                                         {">&-", "Bad file descriptor"}};
  for (const auto& [redirect, reason] : outputs) {
    // `timeout` stands between a game that would never end and a test that would never end.
    const Outcome r = shell(kEndless + "timeout 60 " + kBin +
                            " --seed 9105 --max-rounds 0 --no-pause 2>&1 " + redirect);
    EXPECT_EQ(r.status, 1) << redirect;
    EXPECT_EQ(r.out, std::string("morvane: 写入失败：") + reason + "\n") << redirect;
  }
  for (const auto& [redirect, reason] : outputs) {
    for (const char* args :
         {"--help", "--version", "replay --help", "simulate --help", "simulate --games 5 甲 乙"}) {
      const Outcome r = shell("timeout 60 " + kBin + " " + args + " 2>&1 " + redirect);
      EXPECT_EQ(r.status, 1) << args << redirect;
      EXPECT_EQ(r.out, std::string("morvane: 写入失败：") + reason + "\n") << args << redirect;
    }
  }
}

TEST(Limits, AReplayAndARecordThatCannotBeWrittenFailTheSameWay) {
  const std::string file = ::testing::TempDir() + "morvane_code_" + std::to_string(getpid());
  const std::string game = "printf '1\\n2\\n甲\\n乙\\n' | " + kBin + " --seed 4 --no-pause";
  ASSERT_EQ(shell(game + " --record " + file + " >/dev/null").status, 0);
  const Outcome replayed = shell(kBin + " replay " + file + " 2>&1 >/dev/full");
  EXPECT_EQ(replayed.status, 1);
  EXPECT_EQ(replayed.out, "morvane: 写入失败：No space left on device\n");
  std::remove(file.c_str());

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

// Runs morvane ARGS with standard output to /dev/null, standard input from `input_path` or
// else from a pipe that `feed` fills a piece at a time (until it returns false or the game
// stops reading).
Measured run_measured(const std::vector<std::string>& args, const char* input_path,
                      const std::function<bool(std::string&)>& feed = {}) {
  Measured m;
  const std::string err_path = ::testing::TempDir() + "morvane_err_" + std::to_string(getpid());
  int pipe_fds[2] = {-1, -1};
  if (input_path == nullptr && pipe(pipe_fds) != 0) return m;
  const pid_t pid = fork();
  if (pid == 0) {
    const int in = input_path != nullptr ? open(input_path, O_RDONLY) : pipe_fds[0];
    const int out = open("/dev/null", O_WRONLY);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, STDIN_FILENO);
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    if (pipe_fds[1] >= 0) close(pipe_fds[1]);
    std::vector<char*> argv{const_cast<char*>(kBin.c_str())};
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(kBin.c_str(), argv.data());
    _exit(127);
  }
  if (input_path == nullptr) {
    close(pipe_fds[0]);
    // A game that stops reading closes the pipe: the write fails instead of ending the test.
    signal(SIGPIPE, SIG_IGN);
    std::string piece;
    while (feed(piece)) {
      const char* at = piece.data();
      std::size_t left = piece.size();
      while (left > 0) {
        const ssize_t n = write(pipe_fds[1], at, left);
        if (n <= 0) break;
        at += n;
        left -= static_cast<std::size_t>(n);
      }
      if (left > 0) break;
    }
    close(pipe_fds[1]);
  }
  int raw = 0;
  rusage usage{};
  while (wait4(pid, &raw, 0, &usage) < 0 && errno == EINTR) {
  }
  m.status = exit_status(raw);
  m.max_rss_kb = usage.ru_maxrss;
  std::ifstream err(err_path);
  std::ostringstream text;
  text << err.rdbuf();
  m.err = text.str();
  std::remove(err_path.c_str());
  return m;
}

// The peak memory a game may reach whatever its input. A sanitizer's own memory (shadow,
// quarantine) is not the game's: the bound is checked in the other builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr long kBound = 1L << 40;
#else
constexpr long kBound = 64 * 1024;  // KB
#endif

// Feeds `head`, then `size` bytes of `pattern` over and over, then `tail`.
std::function<bool(std::string&)> feeder(std::string head, std::string pattern, std::size_t size,
                                         std::string tail) {
  std::string block;
  while (block.size() < (1u << 16))
    block += pattern;
  return [=, left = size, stage = 0](std::string& piece) mutable {
    if (stage == 0) {
      piece = head;
      stage = 1;
      return true;
    }
    if (left > 0) {
      piece = block.substr(0, std::min(left, block.size()));
      left -= piece.size();
      return true;
    }
    if (stage == 1) {
      piece = tail;
      stage = 2;
      return true;
    }
    return false;
  };
}

TEST(Limits, AHundredMegabyteLineOfNamesPlaysWithinTheMemoryBound) {
  const Measured m = run_measured({"--seed", "3", "--no-pause"}, nullptr,
                                  feeder("1\n2\n", "abcd/", 100'000'000, "\n甲\n"));
  EXPECT_EQ(m.status, 0) << m.err;
  EXPECT_LT(m.max_rss_kb, kBound);
}

TEST(Limits, AHundredMegabyteNameIsRefusedWithinTheMemoryBound) {
  const Measured m =
      run_measured({"--no-pause"}, nullptr, feeder("1\n2\n", "abcdefgh", 100'000'000, "\n甲\n"));
  EXPECT_EQ(m.status, 2);
  EXPECT_EQ(m.err, "morvane: 名字太长：一个名字最多1048576字节\n");
  EXPECT_LT(m.max_rss_kb, kBound);
}

TEST(Limits, AnInputWithoutEndOrBlanksIsRefusedWithinTheMemoryBound) {
  const Measured at_the_menu = run_measured({"--no-pause"}, "/dev/zero");
  EXPECT_EQ(at_the_menu.status, 2);
  EXPECT_NE(at_the_menu.err.find("morvane: 输入太长"), std::string::npos) << at_the_menu.err;
  EXPECT_LT(at_the_menu.max_rss_kb, kBound);
  // Names beyond what any game can hold, each within a name's bound.
  const std::string names = std::string(1 << 19, 'x') + "/";
  const Measured many =
      run_measured({"--no-pause"}, nullptr, feeder("1\n1004\n", names + " ", 100'000'000, "\n"));
  EXPECT_EQ(many.status, 2);
  EXPECT_NE(many.err.find("morvane: 名字太多"), std::string::npos) << many.err;
  EXPECT_LT(many.max_rss_kb, kBound);
}

}  // namespace
}  // namespace morvane
#endif
