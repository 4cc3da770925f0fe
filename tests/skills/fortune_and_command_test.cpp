#include <gtest/gtest.h>

#include <string>
#include <utility>
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
// The draws of a hit of exactly its attack value (spread 20; no call, dodge, critical hit, reply
// or follow-up) that the target survives, that kills, and that does no damage. 999: no ultimate.
const Draws kWounds{20, 0, 0, 0, 0, 0}, kKills{20, 0, 0, 0, 0}, kBlocked{20, 0, 0, 0};

TEST(OceanEnemy, AgainstTheLargestMaximumOddAndEvenPercentagesWrapDifferently) {
  Scenario t;
  auto ocean = t.fighter("vmrqtoa4817", 1).sx(14);
  t.fighter("作者", 2).hp(2147483647).def(300);
  t.fighter("影", 2).hp(2147483647);
  t.random.script(seq({{999}, {2}, kWounds, {99}, kBlocked}));  // 3%, then 100%
  cljn(t.g, ocean, 0, 2);
  EXPECT_EQ(t.transcript(),
            "vmrqtoa4817使用了海洋之敌，释放出了海洋之力!\n"
            "扣除了作者的2147483647*3%点血\n实际伤害:21474836-300=21474536\n"
            "作者掉了21474536点血\n"
            "扣除了影的2147483647*100%点血\n实际伤害:-1-0=-1\n影防御了\n");
}

constexpr const char* kCoinTails =
    "w_k使用了硬币定生死，他掷出一枚决定生死的硬币...\n硬币落地...\n反面\n";

TEST(CoinTails, WithOneEnemyTheWalkCyclesPastAlliesUntilItHits) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).sx(15);
  auto yi = t.fighter("乙", 2);
  t.fighter("友", 1);
  t.random.script(seq({{999}, {0}, {99}, {0}, kKills}));
  cljn(t.g, wk, 1, yi);
  EXPECT_EQ(t.transcript(),
            std::string(kCoinTails) + "乙掉了3000000点血\n   乙在一道伴着巨响的强光中消失了\n\n");
}

TEST(CoinTails, AgainstTheAuthorTheWrappedHitDoesNothingButStillSpendsTheBudget) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).sx(15);
  auto author = t.fighter("作者", 2).hp(2147483647).def(300);
  t.random.script(seq({{999}, {0}, {0}, kBlocked}));
  cljn(t.g, wk, 1, author);
  EXPECT_EQ(t.transcript(), std::string(kCoinTails) + "作者防御了\n\n");
  EXPECT_EQ(author.record().hp, 2147483647);
}

TEST(CoinTails, TheWalkStopsOnceTheBattleIsDecided) {
  Scenario t;
  auto wk = t.fighter("w_k", 1).sx(15).dead();  // its own status killed it this turn
  t.fighter("甲", 2);
  t.fighter("乙", 2);
  t.draws({999, 0, 99});  // a miss on 甲, and nothing more
  cljn(t.g, wk, 1, 2);
  EXPECT_EQ(t.transcript(), kCoinTails);
}

TEST(Sniper, TheTargetCanSlipAwayAtEachOfTheThreeStagesOrTakesASeventhOfItsHitPoints) {
  std::string expected = "指挥官使用了狙击枪，";
  Draws passed{999};
  for (const char* stage :
       {"指挥官找到一个高地趴下...\n", "瞄准镜套住了乙...\n", "食指已轻触扳机...\n"}) {
    expected += stage;
    Scenario t;
    auto commander = t.fighter("指挥官", 1).sx(17);
    t.random.script(seq({passed, {80}}));
    cljn(t.g, commander, 0, t.fighter("乙", 2));
    EXPECT_EQ(t.transcript(), expected + "乙发现了指挥官并退出了他的视线...\n");
    passed.push_back(79);
  }
  Scenario t;
  auto commander = t.fighter("指挥官", 1).sx(17);
  t.random.script(seq({passed, kWounds}));
  cljn(t.g, commander, 0, t.fighter("乙", 2).hp(700));
  EXPECT_EQ(t.transcript(), expected + "指挥官扣动扳机！\n砰！\n乙直接被爆头了！\n乙掉了100点血\n");
}

TEST(CallForSupport, EightSoldiersArriveScaledOnlyByAnUltimateAndKeepTheSlotsOtherFields) {
  for (auto [ultimate, k] : {std::pair{999, 1}, std::pair{0, 2}}) {
    Scenario t;
    auto commander = t.fighter("指挥官", 3).sx(17);
    t.at(2).oy(7).cs(5).zt(9);  // left behind in the slot
    Draws d{ultimate};
    for (int i = 0; i < 8; ++i)
      d.insert(d.end(), {10, 5, 3, 4, 2});
    t.random.script(d);
    cljn(t.g, commander, 1, commander);
    const rw& s = t.g.a[2];
    EXPECT_EQ(s.name + t.g.a[9].name, "士兵士兵");
    EXPECT_EQ((Draws{t.g.rs, s.hp, s.maxhp, s.atk, s.def, s.ml, s.sx, s.zt, s.team, s.oy, s.cs}),
              (Draws{10, 160 * k, 160 * k, 55 * k, 23 * k, 24 * k, 20, 0, 3, 7, 5}));
  }
}

TEST(Soldier, TheBayonetEndsAnInvincibilityForGoodAndTheRifleSparesTheDead) {
  Scenario t;
  t.console.show_pauses = true;
  auto soldier = t.fighter("士兵", 1).sx(18);
  auto trevor = t.fighter("崔佛", 2).zt(22).def(2147483647);
  t.random.script(seq({{999}, kWounds, {999}}));
  cljn(t.g, soldier, 0, trevor);
  EXPECT_EQ((Draws{trevor.record().zt, trevor.record().def}), (Draws{16, 2147483647}));
  cljn(t.g, soldier, 1, t.fighter("乙", 2).dead(-5));
  EXPECT_EQ(t.transcript(),
            "士兵使用了刺刀，他向崔佛刺出了一刀!\n崔佛流血了!\n崔佛掉了120点血\n[p600]"
            "士兵使用了步枪，他对着乙射出了一梭子子弹！\n[p450][p600]");
}

}  // namespace
}  // namespace morvane
