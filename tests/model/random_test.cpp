#include "model/random.hpp"

#include <gtest/gtest.h>

#include "model/wrap.hpp"

namespace morvane {
namespace {

TEST(Lcg, SeedOneGivesTheClassicFirstDraws) {
  Lcg lcg(1);
  for (std::int32_t expected : {41, 18467, 6334, 26500, 19169})
    EXPECT_EQ(lcg.next(), expected);
}

TEST(Lcg, ReseedingReplaysTheSameDraws) {
  Lcg lcg(123456789);
  const std::int32_t first = lcg.next(), second = lcg.next();
  lcg.srand(123456789);
  EXPECT_EQ(lcg.next(), first);
  EXPECT_EQ(lcg.next(), second);
}

TEST(Lcg, DrawsStayWithinFifteenBits) {
  Lcg lcg(4294967295u);
  for (int i = 0; i < 100000; ++i) {
    const std::int32_t d = lcg.next();
    ASSERT_GE(d, 0);
    ASSERT_LE(d, 32767);
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
