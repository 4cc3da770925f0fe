// The executable at the edges: output that cannot be written, input of any size.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
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

// Runs morvane ARGS with standard output to /dev/null, standard input from `input_path` or
// else from a pipe that `feed` fills a piece at a time (until it returns false or the game
// stops reading).
Measured run_measured(const std::vector<std::string>& args, const char* input_path,
                      const std::function<bool(std::string&)>& feed) {
  Measured m;
  const std::string err_path = temp_path("err");
  int fds[2] = {-1, -1};
  if (input_path == nullptr && pipe2(fds, O_CLOEXEC) != 0) return m;
  const int in = input_path != nullptr ? open(input_path, O_RDONLY | O_CLOEXEC) : fds[0];
  const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const pid_t pid = start_morvane(args, in, out, err);
  for (const int fd : {in, out, err})
    close(fd);
  if (input_path == nullptr) {
    // A game that stops reading closes the pipe: the write fails instead of ending the test.
    signal(SIGPIPE, SIG_IGN);
    std::string piece;
    bool open = true;
    while (open && feed(piece)) {
      for (std::size_t at = 0; open && at < piece.size();) {
        const ssize_t n = write(fds[1], piece.data() + at, piece.size() - at);
        open = n > 0;
        at += open ? static_cast<std::size_t>(n) : 0;
      }
    }
    close(fds[1]);
  }
  int raw = 0;
  rusage usage{};
  while (wait4(pid, &raw, 0, &usage) < 0 && errno == EINTR) {
  }
  m.status = exit_status(raw);
  m.max_rss_kb = usage.ru_maxrss;
  m.err = contents(err_path);
  std::remove(err_path.c_str());
  return m;
}

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

TEST(Limits, InputOfAnySizeIsPlayedOrRefusedWithinTheMemoryBound) {
  // The peak memory a game may reach whatever its input. A sanitizer's own memory (shadow,
  // quarantine) is not the game's: the bound is checked in the other builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  constexpr long kBound = 1L << 40;
#else
  constexpr long kBound = 64 * 1024;  // KB
#endif
  // Names beyond what any game can hold, each within a name's bound.
  const std::string names = std::string(1 << 19, 'x') + "/";
  struct Input {
    const char* what;
    const char* path;
    std::function<bool(std::string&)> feed;
    int status;
    const char* message;
  };
  const Input inputs[] = {
      {"a 100 MB line of names", nullptr, feeder("1\n2\n", "abcd/", 100'000'000, "\n甲\n"), 0, ""},
      {"a 100 MB name", nullptr, feeder("1\n2\n", "abcdefgh", 100'000'000, "\n甲\n"), 2,
       "morvane: 名字太长：一个名字最多1048576字节\n"},
      {"/dev/zero", "/dev/zero", {}, 2, "morvane: 输入太长"},
      {"names without end", nullptr, feeder("1\n1004\n", names + " ", 100'000'000, "\n"), 2,
       "morvane: 名字太多"},
  };
  for (const Input& input : inputs) {
    const Measured m = run_measured({"--seed", "3", "--no-pause"}, input.path, input.feed);
    EXPECT_EQ(m.status, input.status) << input.what << ": " << m.err;
    EXPECT_TRUE(m.err.starts_with(input.message)) << input.what << ": " << m.err;
    EXPECT_LT(m.max_rss_kb, kBound) << input.what;
  }
}

}  // namespace
}  // namespace morvane
#endif
