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
// or follow-up) that the target survives, and that kills. 999: no ultimate.
const Draws kWounds{20, 0, 0, 0, 0, 0}, kKills{20, 0, 0, 0, 0};

TEST(Strafe, FiresAtTheHealthiestEnemyOrTheFocusTargetWearingDefenceDownUntilItDies) {
  Scenario t;
  auto gunner = t.fighter("士兵", 1).sx(20);
  auto jia = t.fighter("甲", 2).hp(100);
  auto yi = t.fighter("乙", 2).hp(330).def(2);
  auto bing = t.fighter("丙", 2).hp(200);
  t.fighter("友", 1).hp(9999);
  t.g.b[1].converge = jia;
  t.random.script(
      seq({{999, /*focus fire ignored*/ 29}, kWounds, {0}, kWounds, {99}, kKills, {0}}));
  cljn(t.g, gunner, 0, jia);
  EXPECT_EQ(t.transcript(),
            "士兵使用了扫射，重机枪疯狂地喷射出子弹！\n"
            "     乙掉了118点血\n      乙的防御减少了！\n"
            "     乙掉了119点血\n"
            "     乙掉了119点血\n   乙被秒杀了\n      乙的防御减少了！\n");
  EXPECT_EQ(yi.record().def, 0);
  t.random.script(seq({{999, /*focus fire followed*/ 30}, kKills}));
  cljn(t.g, gunner, 0, bing);
  EXPECT_EQ((Draws{jia.record().hp, bing.record().hp}), (Draws{-20, 200}));
}

TEST(Shotgun, CutsAPositiveDefenceToTwoThirdsOnAPassingDraw) {
  for (auto [before, after] : {std::pair{4, 2}, std::pair{50, 32}, std::pair{0, 0}}) {
    Scenario t;
    auto soldier = t.fighter("士兵", 1).sx(19);
    auto yi = t.fighter("乙", 2).hp(7000).def(before);
    t.random.script(before > 0 ? seq({{999}, kWounds, {0}}) : seq({{999}, kWounds}));
    cljn(t.g, soldier, 1, yi);
    EXPECT_EQ(yi.record().def, after);
    EXPECT_EQ(t.transcript().find("  乙的防御减少了！\n") != std::string::npos, before > 0);
  }
}

TEST(Mossu, SwapsWithTheFirstHealthiestEnemyAboveHimOrFailsAndHisCrowsCutDefence) {
  Scenario t;
  auto mossu = t.fighter("mossu_ka", 1).sx(21).hp(100);
  auto jia = t.fighter("甲", 2).hp(500).def(11);
  auto yi = t.fighter("乙", 2).hp(500).def(10);
  t.random.script(seq({{999, 999}, {999, /*half*/ 0}, kKills, {999, 0}, kWounds}));
  cljn(t.g, mossu, 0, yi);
  EXPECT_EQ((Draws{mossu.record().hp, jia.record().hp, jia.record().maxhp}),
            (Draws{500, 100, 500}));
  cljn(t.g, mossu, 0, yi);  // 乙's 500 is no longer above the caster's
  cljn(t.g, mossu, 1, jia);
  cljn(t.g, mossu, 1, yi);
  EXPECT_EQ(t.transcript(),
            "mossu_ka使用了生命之轮，互换了自己和甲的血量!\nmossu_ka使用了生命之轮，但是失败了\n"
            "mossu_ka使用了鸦群之潮，乌鸦如同潮水般涌出！\n甲的防御减少了5\n甲掉了244点血\n"
            "   甲被秒杀了\nmossu_ka使用了鸦群之潮，乌鸦如同潮水般涌出！\n乙的防御减少了30\n"
            "乙掉了270点血\n");
  EXPECT_EQ((Draws{jia.record().def, yi.record().def}), (Draws{6, -20}));
}

TEST(Michael, FiresOneShotPerTenMagicAndTheHeavyRifleAddsAFifthOfTheMaximumAtMost) {
  Scenario t;
  auto michael = t.fighter("麦克", 1).sx(23).ml(57);
  auto yi = t.fighter("乙", 2).hp(100000).atk(10);
  auto frail = t.fighter("丙", 2).hp(9);  // below 10 the random part is 0
  t.random.script(seq({{999}, kWounds, kWounds, kWounds, kWounds, kWounds}));
  cljn(t.g, michael, 0, yi);
  EXPECT_EQ(yi.record().hp, 100000 - 5 * 130);
  t.random.script(seq({{999, 25000}, kWounds, {999, 12345}, kKills}));
  cljn(t.g, michael, 1, yi);
  cljn(t.g, michael, 1, frail);
  EXPECT_EQ((Draws{yi.record().hp, frail.record().hp}), (Draws{99350 - 15000, 9 - 10000}));
}

TEST(Trevor, TurnsInvincibleAndHisMinigunFiresOncePerLivingEnemyAtTheTargetEvenDead) {
  Scenario t;
  t.console.show_pauses = true;
  auto trevor = t.fighter("崔佛", 1).sx(24).ml(59);
  auto jia = t.fighter("甲", 2).hp(10);
  t.fighter("友", 1);
  auto yi = t.fighter("乙", 2);
  t.fighter("尸", 2).dead();
  t.fighter("丙", 2);
  t.random.script(seq({{999, 999, 0}, kKills, {950, 0}, kKills}));
  cljn(t.g, trevor, 0, jia);
  EXPECT_EQ((Draws{trevor.record().zt, trevor.record().def}), (Draws{22, 2147483647}));
  cljn(t.g, trevor, 1, jia);
  EXPECT_EQ(t.transcript(),
            "崔佛使用了无敌时间，接下来的5个回合他将获得超高防御力！\n[p500]"
            "崔佛使用了火神机枪，抬起了备弹充足的火神机枪！\n[p1000]"
            "甲掉了300点血\n   甲化为尘埃\n[p400][p75][p75]"
            "甲掉了300点血\n   甲在一道伴着巨响的强光中消失了\n[p400][p75]");
  EXPECT_EQ(yi.record().hp, 300);
}

TEST(CallTheCrew, MichaelAndTrevorJoinUnscaledEvenOnAnUltimate) {
  Scenario t;
  auto franklin = t.fighter("富兰克林", 1).sx(22);
  t.fighter("乙", 2);
  t.draws({0, 10, 5, 5, 5, 20, 6, 6, 6});
  cljn(t.g, franklin, 1, 2);
  ASSERT_EQ(t.g.rs, 5);
  EXPECT_EQ(t.g.a[3].name + t.g.a[4].name, "麦克崔佛");
  for (auto [x, stats] : {std::pair{t.g.a[3], std::vector{410, 410, 105, 65, 55, 23, 1}},
                          {t.g.a[4], std::vector{420, 420, 106, 66, 56, 24, 1}}})
    EXPECT_EQ((std::vector{x.hp, x.maxhp, x.atk, x.def, x.ml, x.sx, x.oy}), stats);
  EXPECT_EQ(t.transcript(), "富兰克林使用了 奥义·呼叫队友，麦克和崔佛到达战场！\n");
}

}  // namespace
}  // namespace morvane
