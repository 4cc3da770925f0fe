#include "model/random.hpp"

#include <gtest/gtest.h>

#include "model/wrap.hpp"

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

TEST(Wrap, SumsDifferencesAndProductsWrapAroundLikeThirtyTwoBitIntegers) {
  EXPECT_EQ(wadd(2147483647, 1), -2147483647 - 1);
  EXPECT_EQ(wsub(-2147483647 - 1, 1), 2147483647);
  EXPECT_EQ(wmul(2147483647, 10000), -10000);  // the coin against the author
  EXPECT_EQ(wmul(2147483647, 3), 2147483645);
  EXPECT_EQ(wadd(2147483647, wadd(2147483647, 525)), 523);  // 88反一切炮 on an invincible 崔佛
}

}  // namespace
}  // namespace morvane
