#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(Strafe, FiresAtTheHealthiestEnemyOrTheFocusTargetWearingDefenceDownUntilItDies) {
  Scenario t;
  auto gunner = t.fighter("士兵", 1).attribute(20);
  auto jia = t.fighter("甲", 2).hp(100);
  auto yi = t.fighter("乙", 2).hp(330).def(2);
  auto bing = t.fighter("丙", 2).hp(200);
  t.fighter("友", 1).hp(9999);
  t.g.team_calls[1].focus = jia;
  const Draws bursts =
      Draws{999, /*focus fire ignored*/ 29}.lands().then({0}).lands().then({99}).kills().then({0});
  EXPECT_EQ(t.cast(bursts, gunner, 0, jia),
            "士兵使用了扫射，重机枪疯狂地喷射出子弹！\n"
            "     乙掉了118点血\n      乙的防御减少了！\n"
            "     乙掉了119点血\n"
            "     乙掉了119点血\n   乙被秒杀了\n      乙的防御减少了！\n");
  EXPECT_EQ(yi.record().def, 0);
  t.cast(Draws{999, /*focus fire followed*/ 30}.kills(), gunner, 0, bing);
  EXPECT_EQ((std::vector{jia.record().hp, bing.record().hp}), (std::vector{-20, 200}));
}

TEST(Shotgun, CutsAPositiveDefenceToTwoThirdsOnAPassingDraw) {
  for (auto [before, after] : {std::pair{4, 2}, std::pair{50, 32}, std::pair{0, 0}}) {
    Scenario t;
    auto soldier = t.fighter("士兵", 1).attribute(19);
    auto yi = t.fighter("乙", 2).hp(7000).def(before);
    Draws d = Draws{999}.lands();
    if (before > 0) d.then({0});
    t.cast(d, soldier, 1, yi);
    EXPECT_EQ(yi.record().def, after);
    EXPECT_EQ(t.transcript().find("  乙的防御减少了！\n") != std::string::npos, before > 0);
  }
}

TEST(Mossu, SwapsWithTheFirstHealthiestEnemyAboveHimOrFailsAndHisCrowsCutDefence) {
  Scenario t;
  auto mossu = t.fighter("mossu_ka", 1).attribute(21).hp(100);
  auto jia = t.fighter("甲", 2).hp(500).def(11);
  auto yi = t.fighter("乙", 2).hp(500).def(10);
  t.cast({999}, mossu, 0, yi);
  EXPECT_EQ((std::vector{mossu.record().hp, jia.record().hp, jia.record().max_hp}),
            (std::vector{500, 100, 500}));
  t.cast({999}, mossu, 0, yi);  // 乙's 500 is no longer above the caster's
  t.cast(Draws{999, /*half*/ 0}.kills(), mossu, 1, jia);
  t.cast(Draws{999, 0}.lands(), mossu, 1, yi);
  EXPECT_EQ(t.transcript(),
            "mossu_ka使用了生命之轮，互换了自己和甲的血量!\nmossu_ka使用了生命之轮，但是失败了\n"
            "mossu_ka使用了鸦群之潮，乌鸦如同潮水般涌出！\n甲的防御减少了5\n甲掉了244点血\n"
            "   甲被秒杀了\nmossu_ka使用了鸦群之潮，乌鸦如同潮水般涌出！\n乙的防御减少了30\n"
            "乙掉了270点血\n");
  EXPECT_EQ((std::vector{jia.record().def, yi.record().def}), (std::vector{6, -20}));
}

TEST(Michael, FiresOneShotPerTenMagicAndTheHeavyRifleAddsAFifthOfTheMaximumAtMost) {
  Scenario t;
  auto michael = t.fighter("麦克", 1).attribute(23).magic(57);
  auto yi = t.fighter("乙", 2).hp(100000).atk(10);
  auto frail = t.fighter("丙", 2).hp(9);  // below 10 the random part is 0
  t.cast(Draws{999}.then(Draws().lands(), 5), michael, 0, yi);
  EXPECT_EQ(yi.record().hp, 100000 - 5 * 130);
  t.cast(Draws{999, 25000}.lands(), michael, 1, yi);
  t.cast(Draws{999, 12345}.kills(), michael, 1, frail);
  EXPECT_EQ((std::vector{yi.record().hp, frail.record().hp}),
            (std::vector{99350 - 15000, 9 - 10000}));
}

TEST(Trevor, TurnsInvincibleAndHisMinigunFiresOncePerLivingEnemyAtTheTargetEvenDead) {
  Scenario t;
  t.console.show_pauses = true;
  auto trevor = t.fighter("崔佛", 1).attribute(24).magic(59);
  auto jia = t.fighter("甲", 2).hp(10);
  t.fighter("友", 1);
  auto yi = t.fighter("乙", 2);
  t.fighter("尸", 2).dead();
  t.fighter("丙", 2);
  t.cast({999}, trevor, 0, jia);
  EXPECT_EQ((std::vector{trevor.record().status, trevor.record().def}),
            (std::vector{22, 2147483647}));
  t.cast(Draws{999, 0}.kills().then({950, 0}).kills(), trevor, 1, jia);
  EXPECT_EQ(t.transcript(),
            "崔佛使用了无敌时间，接下来的5个回合他将获得超高防御力！\n[p500]"
            "崔佛使用了火神机枪，抬起了备弹充足的火神机枪！\n[p1000]"
            "甲掉了300点血\n   甲化为尘埃\n[p400][p75][p75]"
            "甲掉了300点血\n   甲在一道伴着巨响的强光中消失了\n[p400][p75]");
  EXPECT_EQ(yi.record().hp, 300);
}

TEST(CallTheCrew, MichaelAndTrevorJoinUnscaledEvenOnAnUltimate) {
  Scenario t;
  auto franklin = t.fighter("富兰克林", 1).attribute(22);
  t.fighter("乙", 2);
  t.cast({/*ultimate*/ 0, 10, 5, 5, 5, 20, 6, 6, 6}, franklin, 1, 2);
  ASSERT_EQ(t.g.roster.next_slot(), 5);
  EXPECT_EQ(t.g.roster[3].name + t.g.roster[4].name, "麦克崔佛");
  for (auto [x, stats] : {std::pair{t.g.roster[3], std::vector{410, 410, 105, 65, 55, 23, 1}},
                          {t.g.roster[4], std::vector{420, 420, 106, 66, 56, 24, 1}}})
    EXPECT_EQ((std::vector{x.hp, x.max_hp, x.atk, x.def, x.magic, x.attribute, x.ultimate_level}),
              stats);
  EXPECT_EQ(t.transcript(), "富兰克林使用了 奥义·呼叫队友，麦克和崔佛到达战场！\n");
}

}  // namespace
}  // namespace morvane
