#include "mechanics/status.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// 甲 in slot 1 acted last; 乙 in slot 2 bears the status.
struct Bearer : Scenario {
  explicit Bearer(std::int32_t status) {
    fighter("甲", 1);
    fighter("乙", 2).status(status);
  }
  const Fighter& x() const { return g.roster[2]; }
  bool step() { return status_step(g, 2, 1); }
};

TEST(StatusStep, AWaterPrisonStruggleCostsTheTurnAndHurtsAsABlowFromTheLastActor) {
  Bearer t(1);
  t.console.show_colors = true;
  t.at(2).def(7);
  t.draws(
      {/*never frees at 1*/ 2, /*spread*/ 10, 0, 0, 0, /*no reply*/ 0, /*follow-up*/ 13000, 7000});
  EXPECT_FALSE(t.step());
  EXPECT_EQ(t.transcript(),
            "乙在[c1]水牢[c0]里挣扎，但是扣血，乙掉了15点血\n\t\t甲:到你们了！干掉这个家伙！\n");
  EXPECT_EQ(t.x().status, 2);
}

TEST(StatusStep, BreakingFreeFromTheWaterPrisonGetsLikelierAndIsCertainOnTheFourthTurn) {
  const std::tuple<std::int32_t, std::int32_t, bool> cases[] = {
      {2, 0, true}, {2, 1, false}, {3, 1, true}, {3, 2, false}, {4, 2, true}};
  for (const auto& [status, draw, frees] : cases) {
    Bearer t(status);
    t.console.show_colors = true;
    t.draws({draw});
    if (!frees) t.draws(Draws().lands(0));
    EXPECT_EQ(t.step(), frees) << status << " " << draw;
    EXPECT_EQ(t.x().status, frees ? 0 : status + 1);
    EXPECT_EQ(t.transcript().starts_with("乙从[c1]水牢[c0]中挣脱出来\n"), frees) << t.transcript();
  }
}

TEST(StatusStep, IceFromEightCostsTwoTurnsAndFrostbiteHealsOrFreezesAgain) {
  Bearer t(8);
  EXPECT_FALSE(t.step());
  EXPECT_FALSE(t.step());
  EXPECT_TRUE(t.step());
  t.at(2).status(11);  // frozen once more, then frostbitten
  EXPECT_FALSE(t.step());
  t.draws({/*flare-up*/ 19, /*cure*/ 20});
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.x().status, 8);
  t.at(2).status(12);
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.x().status, 0);
  const std::string frozen = "乙在冰块里无法动弹\n";
  EXPECT_EQ(t.transcript(), frozen + frozen + "乙所处的冰块融化了\n" + frozen +
                                "乙冻伤发作，他又冻住了\n乙从冻伤中恢复过来\n");
}

TEST(StatusStep, TormentHitsThreeTimesHarderEachTimeAndEndsInFrostbite) {
  Bearer t(15);
  t.at(2).def(10);
  std::string expected;
  for (int tick = 1; tick <= 3; ++tick) {
    t.draws(Draws().lands());
    EXPECT_TRUE(t.step());
    expected += "乙因为钻心受到伤害…\n乙掉了" + std::to_string(10 * tick) + "点血\n";
  }
  EXPECT_EQ(t.transcript(), expected);
  EXPECT_EQ(t.x().status, 12);
}

TEST(StatusStep, InvincibilityHoldsTheDefenceThenEndsWithAFullHealAndAnOrdinaryDefence) {
  Bearer t(22);
  t.at(2).hp(500).hp_only(100).def(15).magic(39);  // lasts 39 / 10 = 3 turns
  EXPECT_TRUE(t.step());
  t.at(2).def(15);
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.x().def, 2147483647);
  t.draws({49});
  EXPECT_TRUE(t.step());
  EXPECT_EQ(t.transcript(), "乙的防御高到离谱！\n乙的防御高到离谱！\n乙的无敌时间已过！\n");
  EXPECT_EQ(t.x().hp, 500);
  EXPECT_EQ(t.x().def, 119);
  EXPECT_EQ(t.x().status, 25);
}

TEST(StatusStep, BleedingLaidOverAnInvincibilityHurtsThroughItsDefenceFourTimesThenRests) {
  Bearer t(22);
  t.at(2).hp(400);
  EXPECT_TRUE(t.step());
  t.at(2).status(16);  // the invincibility ends without its closing heal and defence
  for (int tick = 1; tick <= 5; ++tick) {
    if (tick <= 4) t.draws(Draws().lands(30));  // a twentieth of 400, less 20, plus the spread
    EXPECT_TRUE(t.step());
  }
  EXPECT_EQ(t.x().status, 20);
  EXPECT_EQ(t.x().hp, 400 - 4 * 30);
  EXPECT_EQ(t.x().def, 2147483647);
  EXPECT_TRUE(t.transcript().ends_with("乙因为流血受到伤害…\n乙掉了30点血\n"));
}

}  // namespace
}  // namespace morvane
