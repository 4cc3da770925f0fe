#include "model/random.hpp"

#include <gtest/gtest.h>

#include "model/game.hpp"
#include "model/wrap.hpp"
#include "support/recording_console.hpp"
#include "support/scripted_random.hpp"

namespace morvane {
namespace {

TEST(Lcg, SeedOneGivesTheClassicFirstDrawsAndReseedingReplaysThem) {
  Lcg lcg(1);
  for (int pass = 0; pass < 2; ++pass) {
    for (std::int32_t expected : {41, 18467, 6334, 26500, 19169})
      EXPECT_EQ(lcg.next(), expected);
    lcg.srand(1);
  }
}

TEST(ScriptedRandom, HandsOutItsListThenNamesTheRuleThatAskedForOneMore) {
  testing::ScriptedRandom random;
  testing::RecordingConsole console;
  Game g(console, random);
  random.script({7, 32767});
  EXPECT_EQ(g.rand(), 7);
  EXPECT_EQ(g.rand(), 32767);
  try {
    g.rand();
    ADD_FAILURE() << "a third draw was handed out";
  } catch (const NoDrawLeft& e) {
    const std::string what = e.what();
    EXPECT_EQ(what.rfind("draw #3 at ", 0), 0u) << what;
    EXPECT_NE(what.find("random_test.cpp:"), std::string::npos) << what;
  }
}

TEST(Wrap, SumsDifferencesAndProductsWrapAroundLikeThirtyTwoBitIntegers) {
  EXPECT_EQ(wadd(2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(wsub(-2147483647 - 1, 1), 2147483647);
  EXPECT_EQ(wmul(2147483647, 10000), -10000);  // the coin against the author
  EXPECT_EQ(wmul(2147483647, 3), 2147483645);
  EXPECT_EQ(wadd(2147483647, wadd(2147483647, 525)), 523);  // 88反一切炮 on an invincible 崔佛
}

}  // namespace
}  // namespace morvane
