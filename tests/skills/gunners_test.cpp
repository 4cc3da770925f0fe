#include <gtest/gtest.h>

#include <string>
#include <tuple>
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
const Draws kPlain{999};                 // the cast is no ultimate
const Draws kWounds{20, 0, 0, 0, 0, 0};  // a hit of exactly its value that the target survives
const Draws kKills{20, 0, 0, 0, 0};      // the same hit, fatal

TEST(Strafe, FiresAtTheHealthiestEnemyWearingItsDefenceDownUntilItDies) {
  Scenario t;
  auto gunner = t.fighter("士兵", 1).sx(20);
  auto jia = t.fighter("甲", 2);
  auto yi = t.fighter("乙", 2).hp(330).def(2);
  t.fighter("友", 1).hp(9999);
  t.random.script(seq({kPlain, {0}, kWounds, {0}, kWounds, {99}, kKills, {0}}));
  cljn(t.g, gunner, 0, jia);
  EXPECT_EQ(t.transcript(),
            "士兵使用了扫射，重机枪疯狂地喷射出子弹！\n"
            "     乙掉了118点血\n      乙的防御减少了！\n"
            "     乙掉了119点血\n"
            "     乙掉了119点血\n   乙被秒杀了\n      乙的防御减少了！\n");
  EXPECT_EQ(yi.record().def, 0);
  EXPECT_EQ(jia.record().hp, 300);
}

TEST(Strafe, TheTeamsFocusFireOverridesTheChoiceOnAPassingDraw) {
  Scenario t;
  auto gunner = t.fighter("士兵", 1).sx(20);
  auto jia = t.fighter("甲", 2).hp(100);
  auto yi = t.fighter("乙", 2);
  t.g.b[1].converge = jia;
  t.random.script(seq({kPlain, {30}, kKills}));
  cljn(t.g, gunner, 0, yi);
  EXPECT_EQ(jia.record().hp, -20);
  EXPECT_EQ(yi.record().hp, 300);
}

TEST(Shotgun, CutsAPositiveDefenceToTwoThirdsOnAPassingDraw) {
  for (auto [before, after] : {std::pair{4, 2}, std::pair{50, 32}, std::pair{0, 0}}) {
    Scenario t;
    auto soldier = t.fighter("士兵", 1).sx(19);
    auto yi = t.fighter("乙", 2).hp(7000).def(before);
    t.random.script(before > 0 ? seq({kPlain, kWounds, {0}}) : seq({kPlain, kWounds}));
    cljn(t.g, soldier, 1, yi);
    EXPECT_EQ(yi.record().def, after);
    EXPECT_EQ(t.transcript().find("  乙的防御减少了！\n") != std::string::npos, before > 0);
  }
}

TEST(WheelOfLife, SwapsWithTheFirstOfTheHealthiestEnemiesAboveTheCasterOrFails) {
  Scenario t;
  auto mossu = t.fighter("mossu_ka", 1).sx(21).hp(100);
  auto jia = t.fighter("甲", 2).hp(500);
  t.fighter("乙", 2).hp(500);
  t.draws({999, 999});
  cljn(t.g, mossu, 0, jia);
  EXPECT_EQ(mossu.record().hp, 500);
  EXPECT_EQ(jia.record().hp, 100);
  EXPECT_EQ(jia.record().maxhp, 500);
  cljn(t.g, mossu, 0, jia);  // 乙's 500 is no longer above the caster's
  EXPECT_EQ(t.transcript(),
            "mossu_ka使用了生命之轮，互换了自己和甲的血量!\n"
            "mossu_ka使用了生命之轮，但是失败了\n");
}

TEST(CrowTide, CutsHalfOfADefenceAboveTenAndThirtyFromOneOfTenOrLess) {
  for (auto [before, cut, hurt] : {std::tuple{11, 5, 144}, std::tuple{10, 30, 170}}) {
    Scenario t;
    auto mossu = t.fighter("mossu_ka", 1).sx(21);
    auto yi = t.fighter("乙", 2).def(before);
    t.random.script(seq({kPlain, {0}, kWounds}));  // half of the maximum
    cljn(t.g, mossu, 1, yi);
    EXPECT_EQ(t.transcript(), "mossu_ka使用了鸦群之潮，乌鸦如同潮水般涌出！\n乙的防御减少了" +
                                  std::to_string(cut) + "\n乙掉了" + std::to_string(hurt) +
                                  "点血\n");
    EXPECT_EQ(yi.record().def, before - cut);
  }
}

TEST(BulletTime, FiresOneShotPerTenPointsOfMagic) {
  Scenario t;
  auto michael = t.fighter("麦克", 1).sx(23).ml(57);
  auto yi = t.fighter("乙", 2).hp(100000).atk(10);
  t.random.script(seq({kPlain, kWounds, kWounds, kWounds, kWounds, kWounds}));
  cljn(t.g, michael, 0, yi);
  EXPECT_EQ(yi.record().hp, 100000 - 5 * 130);
}

TEST(HeavySniper, AddsARandomPartOfTheTargetsMaximumOrNothingBelowTen) {
  for (auto [maxhp, draw, hurt] : {std::tuple{1000, 250, 10050}, std::tuple{9, 12345, 10000}}) {
    Scenario t;
    auto michael = t.fighter("麦克", 1).sx(23);
    auto yi = t.fighter("乙", 2).hp(maxhp);
    t.random.script(seq({kPlain, {draw}, kKills}));
    cljn(t.g, michael, 1, yi);
    EXPECT_EQ(yi.record().hp, maxhp - hurt);
  }
}

TEST(InvincibleTime, AnnouncesTheRoundsFromMagicAndRaisesDefenceToTheTop) {
  Scenario t;
  auto trevor = t.fighter("崔佛", 1).sx(24).ml(59);
  t.fighter("乙", 2);
  t.draws({999});
  cljn(t.g, trevor, 0, 2);
  EXPECT_EQ(t.transcript(), "崔佛使用了无敌时间，接下来的5个回合他将获得超高防御力！\n");
  EXPECT_EQ(trevor.record().zt, 22);
  EXPECT_EQ(trevor.record().def, 2147483647);
}

TEST(Minigun, EveryLivingEnemyMetGivesAShotAtTheTargetEvenAfterItHasDied) {
  Scenario t;
  t.console.show_pauses = true;
  auto trevor = t.fighter("崔佛", 1).sx(24);
  auto jia = t.fighter("甲", 2).hp(10);
  t.fighter("友", 1);
  auto yi = t.fighter("乙", 2);
  t.fighter("尸", 2).dead();
  t.fighter("丙", 2);
  t.random.script(seq({kPlain, {0}, kKills, {950}, {0}, kKills}));
  cljn(t.g, trevor, 1, jia);
  EXPECT_EQ(t.transcript(),
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
  const rw &mike = t.g.a[3], &trev = t.g.a[4];
  EXPECT_EQ(mike.name + trev.name, "麦克崔佛");
  EXPECT_EQ((std::vector{mike.hp, mike.maxhp, mike.atk, mike.def, mike.ml, mike.sx, mike.oy}),
            (std::vector{410, 410, 105, 65, 55, 23, 1}));
  EXPECT_EQ((std::vector{trev.hp, trev.maxhp, trev.atk, trev.def, trev.ml, trev.sx, trev.oy}),
            (std::vector{420, 420, 106, 66, 56, 24, 1}));
  EXPECT_EQ(t.transcript(), "富兰克林使用了 奥义·呼叫队友，麦克和崔佛到达战场！\n");
}

TEST(CallTheCrew, WithOneSlotLeftOnlyMichaelComes) {
  Scenario t;
  auto franklin = t.fighter("富兰克林", 1).sx(22);
  t.g.rs = kMaxSlot;
  t.draws({999, 0, 0, 0, 0});
  cljn(t.g, franklin, 1, 2);
  EXPECT_EQ(t.g.rs, kMaxSlot + 1);
  EXPECT_EQ(t.g.a[kMaxSlot].name, "麦克");
}

}  // namespace
}  // namespace morvane
