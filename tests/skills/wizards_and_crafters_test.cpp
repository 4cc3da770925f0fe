#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(DragonBone, FragmentsSkipAlliesAndCorpsesAndTheFinalBlowFallsOnTheNextSlotWhoeverItIs) {
  Scenario t;
  auto tessik = t.fighter("tessik", 1).attribute(9).atk(99);
  t.fighter("骨", 2).dead();
  auto jia = t.fighter("甲", 2).hp(1000);
  t.fighter("友", 1);
  t.fighter("乙", 2);
  auto corpse = t.fighter("尸", 2).dead();
  t.fighter("丙", 2);
  EXPECT_EQ(t.cast(Draws{999, /*one fragment*/ 1}.lands().lands(), tessik, 1, jia),
            "tessik使用了龙骨碎，龙骨碎裂开，然后朝着敌人飞散出去...\n碎片贯穿了甲的身体...\n"
            "甲掉了66点血\ntessik收起龙骨碎，然后朝着友砍了下去...\n友掉了198点血\n");
  t.cast(Draws{999, /*two fragments*/ 2}.lands().lands().kills(), tessik, 1, jia);
  EXPECT_EQ((std::vector{jia.record().hp, t.g.roster[5].hp, corpse.record().hp, t.g.roster[7].hp}),
            (std::vector{1000 - 132, 234, -198, 300}));
}

TEST(DragonBone, OneLivingEnemyTakesTheHeavyBlowAndNoneLeavesAMissWithoutDrawOrPause) {
  Scenario t;
  t.console.show_pauses = true;
  auto tessik = t.fighter("tessik", 1).attribute(9).atk(99);
  t.fighter("尸", 2).dead();
  auto yi = t.fighter("乙", 2).hp(297);
  t.cast(Draws{999, 0}.kills(), tessik, 1, yi);
  t.cast({999}, tessik, 1, yi);
  EXPECT_EQ(t.transcript(),
            "tessik使用了龙骨碎，tessik用龙骨碎全力劈砍下去...\n乙掉了297点血\n   乙被秒杀了\n"
            "[p400][p700]tessik使用了龙骨碎，但是没有命中一个人\n");
}

TEST(Varqueb, TheMissLineStopsOnceAnyCurseHasHitAndTheTormentTakesHoldEvenOnADodge) {
  Scenario t;
  auto varqueb = t.fighter("Varqueb", 1).attribute(10);
  auto yi = t.fighter("乙", 2).hp(1000);
  t.cast(Draws{999, 0, 25}.lands().then({0, 0, 0}), varqueb, 0, yi);
  t.cast({999, 20, 0, /*dodge*/ 999}, varqueb, 1, yi);
  EXPECT_EQ(t.transcript(),
            "Varqueb使用了阿瓦达狂潮，放出了五个穿透性的阿瓦达！\n"
            "他放出了第1个阿瓦达...\n但是没有命中一个人\n\n"
            "他放出了第2个阿瓦达...\n阿瓦达贯穿了乙..\n乙掉了270点血\n\n"
            "他放出了第3个阿瓦达...\n\n他放出了第4个阿瓦达...\n\n他放出了第5个阿瓦达...\n\n"
            "Varqueb使用了钻心剜骨，钻心咒击中了乙!\n但是乙闪开了\n");
  EXPECT_EQ(yi.record().status, 15);
}

TEST(Tnt, FriendsTakeTheirDefencePlusFiftyAndFoesTheirDefencePlusTheirOwnAttack) {
  Scenario t;
  auto prane = t.fighter("Prane", 1).attribute(11).def(10);
  t.fighter("友", 1).def(5);
  auto jia = t.fighter("甲", 2).def(20).atk(70);
  t.fighter("尸", 2).dead();
  EXPECT_EQ(t.cast(Draws{999}.lands().lands().lands(), prane, 0, jia),
            "Prane使用了TNT，往人群中心丢出了一个TNT！\n"
            "Prane掉了50点血\n友掉了50点血\n甲掉了70点血\n\n");
}

TEST(NetheriteAxe, EachLuckyCastRaisesAttackForGoodAndTheTriplingWraps) {
  Scenario t;
  auto prane = t.fighter("Prane", 1).attribute(11).atk(100);
  auto yi = t.fighter("乙", 2).hp(100000);
  for (std::int32_t expected : {150, 225, 337}) {
    t.cast(Draws{999, 50}.lands(), prane, 1, yi);
    EXPECT_EQ(prane.record().atk, expected);
  }
  EXPECT_EQ(yi.record().hp, 100000 - 300 - 450 - 674);
  EXPECT_NE(t.transcript().find("嘣！下界合金斧多了一层锋利！\nPrane的攻击力提升了！\n"),
            std::string::npos);
  prane.atk(1000000000);  // tripled, it wraps to -1294967296 before the halving
  t.cast(Draws{999, 99}.absorbed(), prane, 1, yi);
  EXPECT_EQ(prane.record().atk, -647483648);
}

TEST(Halvic, AnUltimateCreeperOutgrowsItsMaximumAndInspirationTurnsHalvicIntoPrane) {
  Scenario t;
  t.console.show_colors = true;
  auto halvic = t.fighter("Halvic", 1).attribute(12);
  t.cast({/*ultimate*/ 0}, halvic, 0, 1);
  const Fighter& c = t.g.roster[2];
  EXPECT_EQ(c.name, "爬行者");
  EXPECT_EQ(
      (std::vector{t.g.roster.next_slot(), c.hp, c.max_hp, c.attribute, c.team, c.ultimate_level}),
      (std::vector{3, 600, 300, 13, 1, 0}));
  // Halvic's colour, not Prane's: the cast ends as it began.
  EXPECT_EQ(t.cast({999}, halvic, 1, 2),
            "Halvic使用了Prane的激励，[c1]他学会了Prane的所有技能！\n");
  EXPECT_EQ(halvic.record().attribute, 11);
}

TEST(Creeper, BothSkillsBlowUpOnTheTargetAndLeaveTheCreeperDead) {
  for (int skill : {0, 1}) {
    Scenario t;
    auto creeper = t.fighter("苦力怕", 1).attribute(13);
    EXPECT_EQ(t.cast(Draws{999}.kills(), creeper, skill, t.fighter("乙", 2)),
              "苦力怕使用了自爆，它爬到了乙的身旁...\n轰！！！\n乙掉了1000点血\n"
              "   乙在一道伴着巨响的强光中消失了\n爬行者化为尘埃...\n");
    EXPECT_EQ(creeper.record().hp, -1);
  }
}

}  // namespace
}  // namespace morvane
