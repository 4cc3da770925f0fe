// The executable under rough handling: a reader that goes away, input that ends early.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

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

}  // namespace
}  // namespace morvane
#endif
