#include <gtest/gtest.h>

#include <vector>

#include "skills/cast.hpp"
#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;
using Draws = std::vector<std::int32_t>;

Draws seq(std::initializer_list<Draws> parts) {
  Draws out;
  for (const Draws& p : parts)
    out.insert(out.end(), p.begin(), p.end());
  return out;
}
const Draws kPlain{999};                 // the cast is no ultimate
const Draws kWounds{20, 0, 0, 0, 0, 0};  // a hit of exactly its value that the target survives
const Draws kKills{20, 0, 0, 0, 0};      // the same hit, fatal
const Draws kBlocked{20, 0, 0, 0};       // a hit that does no damage

struct Recorder : CastListener {
  void cast(std::int32_t, std::int32_t ms, int jnbh) override { seen.push_back(ms * 10 + jnbh); }
  std::vector<std::int32_t> seen;
};

TEST(DragonBone, FragmentsSkipAlliesAndCorpsesAndTheFinalBlowFallsOnTheNextSlotWhoeverItIs) {
  Scenario t;
  t.console.show_pauses = true;
  auto tessik = t.fighter("tessik", 1).sx(9).atk(99);
  t.fighter("尸", 2).dead();
  auto jia = t.fighter("甲", 2).hp(1000);
  auto ally = t.fighter("友", 1).hp(1000);
  t.fighter("乙", 2);
  t.random.script(seq({kPlain, {1}, kWounds, kWounds}));  // two fragments' worth: cnt 2
  cljn(t.g, tessik, 1, jia);
  EXPECT_EQ(t.transcript(),
            "tessik使用了龙骨碎，龙骨碎裂开，然后朝着敌人飞散出去...\n"
            "碎片贯穿了甲的身体...\n甲掉了66点血\n[p400]"
            "tessik收起龙骨碎，然后朝着友砍了下去...\n友掉了198点血\n[p700]");
  EXPECT_EQ(ally.record().hp, 802);
}

TEST(DragonBone, TheFinalBlowCanFallOnACorpse) {
  Scenario t;
  auto tessik = t.fighter("tessik", 1).sx(9).atk(99);
  auto jia = t.fighter("甲", 2).hp(1000);
  auto corpse = t.fighter("尸", 2).dead();
  auto yi = t.fighter("乙", 2);
  t.random.script(seq({kPlain, {1}, kWounds, kKills}));
  cljn(t.g, tessik, 1, jia);
  EXPECT_EQ(corpse.record().hp, -198);
  EXPECT_EQ(yi.record().hp, 300);
}

TEST(DragonBone, WithOneLivingEnemyItIsAlwaysTheHeavyBlowOnTheTarget) {
  Scenario t;
  auto tessik = t.fighter("tessik", 1).sx(9).atk(99);
  t.fighter("尸", 2).dead();
  auto yi = t.fighter("乙", 2).hp(1000);
  t.random.script(seq({kPlain, {0}, kWounds}));
  cljn(t.g, tessik, 1, yi);
  EXPECT_EQ(t.transcript(), "tessik使用了龙骨碎，tessik用龙骨碎全力劈砍下去...\n乙掉了297点血\n");
}

TEST(DragonBone, WithNoLivingEnemyItMissesWithoutADrawOrAPause) {
  Scenario t;
  t.console.show_pauses = true;
  auto tessik = t.fighter("tessik", 1).sx(9);
  auto yi = t.fighter("乙", 2).dead();
  t.draws({999});
  cljn(t.g, tessik, 1, yi);
  EXPECT_EQ(t.transcript(), "tessik使用了龙骨碎，但是没有命中一个人\n");
}

TEST(BlackWizards, AnUltimateScalesEveryWizardAndItsMaximum) {
  Scenario t;
  auto tessik = t.fighter("tessik", 1).sx(9);
  t.fighter("乙", 2);
  t.draws({0, 100, 10, 5, 30, 0, 0, 0, 0, 0, 0, 0, 0});
  cljn(t.g, tessik, 0, 2);
  ASSERT_EQ(t.g.rs, 6);
  const rw& w = t.g.a[3];
  EXPECT_EQ(w.name, "黑巫师");
  EXPECT_EQ((std::vector{w.hp, w.maxhp, w.atk, w.def, w.ml, w.sx, w.team, w.cs, w.oy}),
            (std::vector{500, 500, 120, 50, 100, 7, 1, 1, 0}));
  EXPECT_EQ(t.g.a[5].hp, 300);
}

TEST(AvadaTide, TheMissLineComesOnlyUntilAnyCurseOfTheCastHasHit) {
  Scenario t;
  auto varqueb = t.fighter("Varqueb", 1).sx(10);
  auto yi = t.fighter("乙", 2).hp(1000);
  t.random.script(seq({kPlain, {0, 25}, kWounds, {0, 0, 0}}));
  cljn(t.g, varqueb, 0, yi);
  EXPECT_EQ(t.transcript(),
            "Varqueb使用了阿瓦达狂潮，放出了五个穿透性的阿瓦达！\n"
            "他放出了第1个阿瓦达...\n但是没有命中一个人\n\n"
            "他放出了第2个阿瓦达...\n阿瓦达贯穿了乙..\n乙掉了270点血\n\n"
            "他放出了第3个阿瓦达...\n\n他放出了第4个阿瓦达...\n\n他放出了第5个阿瓦达...\n\n");
}

TEST(Cruciatus, TheTormentTakesHoldEvenWhenTheTargetDodges) {
  Scenario t;
  auto varqueb = t.fighter("Varqueb", 1).sx(10);
  auto yi = t.fighter("乙", 2);
  t.draws({999, 20, 0, 999});
  cljn(t.g, varqueb, 1, yi);
  EXPECT_EQ(t.transcript(), "Varqueb使用了钻心剜骨，钻心咒击中了乙!\n但是乙闪开了\n");
  EXPECT_EQ(yi.record().zt, 15);
}

TEST(Tnt, FriendsTakeTheirDefencePlusFiftyAndFoesTheirDefencePlusTheirOwnAttack) {
  Scenario t;
  auto prane = t.fighter("Prane", 1).sx(11).def(10);
  t.fighter("友", 1).def(5);
  auto jia = t.fighter("甲", 2).def(20).atk(70);
  t.fighter("尸", 2).dead();
  t.random.script(seq({kPlain, kWounds, kWounds, kWounds}));
  cljn(t.g, prane, 0, jia);
  EXPECT_EQ(t.transcript(),
            "Prane使用了TNT，往人群中心丢出了一个TNT！\n"
            "Prane掉了50点血\n友掉了50点血\n甲掉了70点血\n\n");
}

TEST(NetheriteAxe, EachLuckyCastRaisesAttackForGoodAndTheTriplingWraps) {
  Scenario t;
  auto prane = t.fighter("Prane", 1).sx(11).atk(100);
  auto yi = t.fighter("乙", 2).hp(100000);
  for (std::int32_t expected : {150, 225, 337}) {
    t.random.script(seq({kPlain, {50}, kWounds}));
    cljn(t.g, prane, 1, yi);
    EXPECT_EQ(prane.record().atk, expected);
  }
  EXPECT_EQ(yi.record().hp, 100000 - 300 - 450 - 674);
  t.console.forget();
  prane.atk(1000000000);
  t.random.script(seq({kPlain, {99}, kBlocked}));
  cljn(t.g, prane, 1, yi);
  EXPECT_EQ(prane.record().atk, -647483648);
  EXPECT_EQ(t.transcript(),
            "Prane使用了下下-界界-合合-金金-斧斧---，他举起了下界合金斧...\n"
            "嘣！下界合金斧多了一层锋利！\nPrane的攻击力提升了！\n乙防御了\n");
}

TEST(CreeperEgg, AnUltimateCreeperHasMoreHitPointsThanItsMaximum) {
  Scenario t;
  auto halvic = t.fighter("Halvic", 1).sx(12);
  t.fighter("乙", 2);
  t.draws({0});
  cljn(t.g, halvic, 0, 2);
  ASSERT_EQ(t.g.rs, 4);
  const rw& c = t.g.a[3];
  EXPECT_EQ(c.name, "爬行者");
  EXPECT_EQ((std::vector{c.hp, c.maxhp, c.sx, c.team, c.oy}), (std::vector{600, 300, 13, 1, 0}));
  EXPECT_EQ(t.transcript(), "Halvic使用了 奥义·爬行者刷怪蛋，召唤了一个爬行者！\n");
}

TEST(Creeper, BothSkillsBlowUpOnTheTargetAndLeaveTheCreeperDead) {
  for (int jnbh : {0, 1}) {
    Scenario t;
    auto creeper = t.fighter("苦力怕", 1).sx(13);
    auto yi = t.fighter("乙", 2);
    t.random.script(seq({kPlain, kKills}));
    cljn(t.g, creeper, jnbh, yi);
    EXPECT_EQ(t.transcript(),
              "苦力怕使用了自爆，它爬到了乙的身旁...\n轰！！！\n乙掉了1000点血\n"
              "   乙在一道伴着巨响的强光中消失了\n爬行者化为尘埃...\n");
    EXPECT_EQ(creeper.record().hp, -1);
  }
}

TEST(PraneInspiration, TheCasterBecomesPraneButThisCastEndsAsHalvics) {
  Scenario t;
  Recorder seen;
  t.g.on_cast = &seen;
  t.console.show_colors = true;
  auto halvic = t.fighter("Halvic", 1).sx(12);
  t.fighter("乙", 2);
  t.draws({999});
  cljn(t.g, halvic, 1, 2);
  EXPECT_EQ(t.transcript(), "Halvic使用了Prane的激励，[c1]他学会了Prane的所有技能！\n");
  EXPECT_EQ(seen.seen, std::vector{121});
  EXPECT_EQ(halvic.record().sx, 11);
}

TEST(Summons, AtAFullRosterNoFighterIsMadeAndNoneOfItsDrawsTaken) {
  Scenario t;
  t.console.show_pauses = true;
  auto tessik = t.fighter("tessik", 1).sx(9);
  auto halvic = t.fighter("Halvic", 1).sx(12);
  t.fighter("乙", 2);
  t.g.rs = kMaxSlot + 1;
  t.draws({999, 999});
  cljn(t.g, tessik, 0, 3);
  cljn(t.g, halvic, 0, 3);
  EXPECT_EQ(t.g.rs, kMaxSlot + 1);
  EXPECT_EQ(t.transcript(),
            "tessik使用了黑魔王的威信，召唤了三个黑巫师！\n"
            "Halvic使用了爬行者刷怪蛋，召唤了一个爬行者！\n[p500]");
}

}  // namespace
}  // namespace morvane
