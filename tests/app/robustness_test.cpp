// The executable under rough handling: a reader that goes away, Ctrl-C in the middle of a pause
// or a key wait, and input that ends early.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

std::string names(const char* prefix, int count) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    if (i > 0) line += '/';
    line += prefix;
    line += std::to_string(i);
  }
  return line;
}

TEST(Robustness, AReaderThatGoesAwayEndsTheGameQuietly) {
  // Far more output than a pipe holds, so the game is still writing when head has gone. The
  // game's status comes out on descriptor 3: /bin/sh need not know bash's PIPESTATUS. With
  // SIGPIPE ignored, the game meets the closed pipe as a failed write instead.
  for (const std::string ignore : {"", "trap '' PIPE; "}) {
    const Outcome r = shell(
        ignore + "{ ( printf '1\\n2\\n" + names("a", 200) + "\\n" + names("b", 200) + "\\n' | " +
        MORVANE_BIN + " --seed 3 --no-pause 2>&1; echo $? >&3 ) | head -5 >/dev/null; } 3>&1");
    ASSERT_FALSE(r.out.empty()) << ignore;
    const int status = std::atoi(r.out.c_str());
    EXPECT_TRUE(status == 0 || status == 128 + SIGPIPE) << ignore << r.out;
  }
}

TEST(Robustness, InputThatEndsEarlyEndsTheGameByTheEndOfInputRule) {
  // The second team's line never comes: it reads as empty and makes one fighter without a name.
  Outcome r =
      shell("printf '1\\n2\\n甲/乙\\n' | " + std::string(MORVANE_BIN) + " --seed 5 --no-pause");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("如果想再来请重新运行程序"), std::string::npos);
  // Endless mode with no upgrade choices left gives up at every menu until the player falls.
  r = shell("printf '3\\n6\\n' | " + std::string(MORVANE_BIN) + " --seed 8 --no-pause");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("你最后挑战到第"), std::string::npos);
  EXPECT_NE(r.out.find("你选择放弃。"), std::string::npos);
}

// The game on a pseudo-terminal, as a player would run it.
class OnATerminal : public ::testing::Test {
 protected:
  void start(const char* extra_arg) {
    pid_ = forkpty(&master_, nullptr, nullptr, nullptr);
    ASSERT_GE(pid_, 0);
    if (pid_ == 0) {
      unsetenv("NO_COLOR");
      execl(MORVANE_BIN, MORVANE_BIN, "--seed", "1", extra_arg, static_cast<char*>(nullptr));
      _exit(127);
    }
  }
  void TearDown() override {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }
  // Reads what the game shows until `text` appears (or a few seconds pass).
  bool read_until(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (seen_.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      pollfd p{master_, POLLIN, 0};
      if (poll(&p, 1, 100) <= 0) continue;
      char buf[1024];
      const ssize_t got = read(master_, buf, sizeof buf);
      if (got <= 0) return seen_.find(text) != std::string::npos;
      seen_.append(buf, static_cast<std::size_t>(got));
    }
    return true;
  }
  bool terminal_is_raw() {
    termios t{};
    return tcgetattr(master_, &t) == 0 && (t.c_lflag & ICANON) == 0;
  }
  // Presses Ctrl-C and waits for the game to end of it.
  int interrupt() {
    const char ctrl_c = '\x03';
    EXPECT_EQ(write(master_, &ctrl_c, 1), 1);
    int raw = 0;
    waitpid(pid_, &raw, 0);
    pid_ = -1;
    read_until("\x1b[0m\x1b[0m");  // drain what was written on the way out
    return exit_status(raw);
  }

  pid_t pid_ = -1;
  int master_ = -1;
  std::string seen_;
};

TEST_F(OnATerminal, CtrlCDuringTheKeyWaitRestoresTheTerminalAndTheColour) {
  start("--color=always");
  ASSERT_TRUE(read_until("请按下任意键继续。"));
  for (int i = 0; i < 100 && !terminal_is_raw(); ++i)
    usleep(10000);
  ASSERT_TRUE(terminal_is_raw()) << "the key wait reads a raw key";
  EXPECT_EQ(interrupt(), 128 + SIGINT);
  EXPECT_FALSE(terminal_is_raw());
  termios t{};
  ASSERT_EQ(tcgetattr(master_, &t), 0);
  EXPECT_NE(t.c_lflag & ECHO, 0u);
  EXPECT_NE(seen_.rfind("\x1b[0m"), std::string::npos);
}

TEST_F(OnATerminal, CtrlCDuringAPauseRestoresTheColour) {
  start("--speed=0.01");  // a hundred times slower: the pauses last long enough to interrupt
  ASSERT_TRUE(read_until("继续。"));
  ASSERT_EQ(write(master_, "x", 1), 1);
  ASSERT_TRUE(read_until("4.(限时开放)与作者的战斗"));
  const std::string keys = "1\n1\n甲\n";
  ASSERT_EQ(write(master_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  ASSERT_TRUE(read_until("下面的数值"));
  const std::size_t before = seen_.size();
  EXPECT_EQ(interrupt(), 128 + SIGINT);
  EXPECT_NE(seen_.find("\x1b[0m", before), std::string::npos) << "colour reset on the way out";
  EXPECT_FALSE(terminal_is_raw());
}

}  // namespace
}  // namespace morvane
#endif
