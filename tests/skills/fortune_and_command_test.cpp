#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(OceanEnemy, AgainstTheLargestMaximumOddAndEvenPercentagesWrapDifferently) {
  Scenario t;
  auto ocean = t.fighter("vmrqtoa4817", 1).attribute(14);
  t.fighter("作者", 2).hp(2147483647).def(300);
  t.fighter("影", 2).hp(2147483647);
  EXPECT_EQ(t.cast(Draws{999, /*3%*/ 2}.lands().then({/*100%*/ 99}).absorbed(), ocean, 0, 2),
            "vmrqtoa4817使用了海洋之敌，释放出了海洋之力!\n"
            "扣除了作者的2147483647*3%点血\n实际伤害:21474836-300=21474536\n"
            "作者掉了21474536点血\n"
            "扣除了影的2147483647*100%点血\n实际伤害:-1-0=-1\n影防御了\n");
}

const std::string kCoinTails =
    "w_k使用了硬币定生死，他掷出一枚决定生死的硬币...\n硬币落地...\n反面\n";

TEST(CoinTails, WithOneEnemyTheWalkCyclesPastAlliesUntilItHits) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).attribute(15);
  auto yi = t.fighter("乙", 2);
  t.fighter("友", 1);
  EXPECT_EQ(t.cast(Draws{999, /*tails*/ 0, /*a miss*/ 99, 0}.kills(), wk, 1, yi),
            kCoinTails + "乙掉了3000000点血\n   乙在一道伴着巨响的强光中消失了\n\n");
}

TEST(CoinTails, AgainstTheAuthorTheWrappedHitDoesNothingButStillSpendsTheBudget) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).attribute(15);
  auto author = t.fighter("作者", 2).hp(2147483647).def(300);
  EXPECT_EQ(t.cast(Draws{999, 0, 0}.absorbed(), wk, 1, author), kCoinTails + "作者防御了\n\n");
  EXPECT_EQ(author.record().hp, 2147483647);
}

TEST(CoinTails, TheWalkStopsOnceTheBattleIsDecided) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).attribute(15).dead();  // its own status killed it this turn
  t.fighter("甲", 2);
  t.fighter("乙", 2);
  EXPECT_EQ(t.cast({999, 0, /*a miss on 甲, and nothing more*/ 99}, wk, 1, 2), kCoinTails);
}

TEST(Sniper, TheTargetCanSlipAwayAtEachOfTheThreeStagesOrTakesASeventhOfItsHitPoints) {
  std::string expected = "指挥官使用了狙击枪，";
  Draws passed{999};
  for (const char* stage :
       {"指挥官找到一个高地趴下...\n", "瞄准镜套住了乙...\n", "食指已轻触扳机...\n"}) {
    expected += stage;
    Scenario t;
    auto commander = t.fighter("指挥官", 1).attribute(17);
    EXPECT_EQ(t.cast(Draws(passed).then({80}), commander, 0, t.fighter("乙", 2)),
              expected + "乙发现了指挥官并退出了他的视线...\n");
    passed.then({79});
  }
  Scenario t;
  auto commander = t.fighter("指挥官", 1).attribute(17);
  EXPECT_EQ(t.cast(passed.lands(), commander, 0, t.fighter("乙", 2).hp(700)),
            expected + "指挥官扣动扳机！\n砰！\n乙直接被爆头了！\n乙掉了100点血\n");
}

TEST(CallForSupport, EightSoldiersArriveScaledOnlyByAnUltimateAndKeepTheSlotsOtherFields) {
  for (auto [ultimate, k] : {std::pair{999, 1}, std::pair{0, 2}}) {
    Scenario t;
    auto commander = t.fighter("指挥官", 3).attribute(17);
    t.at(2).ultimate_level(7).curse_stacks(5).status(9);  // left behind in the slot
    t.cast(Draws{ultimate}.then({10, 5, 3, 4, 2}, 8), commander, 1, commander);
    const Fighter& s = t.g.roster[2];
    EXPECT_EQ(s.name + t.g.roster[9].name, "士兵士兵");
    EXPECT_EQ((std::vector{t.g.roster.next_slot(), s.hp, s.max_hp, s.atk, s.def, s.magic,
                           s.attribute, s.status, s.team, s.ultimate_level, s.curse_stacks}),
              (std::vector{10, 160 * k, 160 * k, 55 * k, 23 * k, 24 * k, 20, 0, 3, 7, 5}));
  }
}

TEST(Soldier, TheBayonetEndsAnInvincibilityForGoodAndTheRifleSparesTheDead) {
  Scenario t;
  t.console.show_pauses = true;
  auto soldier = t.fighter("士兵", 1).attribute(18);
  auto trevor = t.fighter("崔佛", 2).status(22).def(2147483647);
  t.cast(Draws{999}.lands(), soldier, 0, trevor);
  EXPECT_EQ((std::vector{trevor.record().status, trevor.record().def}),
            (std::vector{16, 2147483647}));
  t.cast({999}, soldier, 1, t.fighter("乙", 2).dead(-5));
  EXPECT_EQ(t.transcript(),
            "士兵使用了刺刀，他向崔佛刺出了一刀!\n崔佛流血了!\n崔佛掉了120点血\n[p600]"
            "士兵使用了步枪，他对着乙射出了一梭子子弹！\n[p450][p600]");
}

}  // namespace
}  // namespace morvane
