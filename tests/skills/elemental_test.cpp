#include <gtest/gtest.h>

#include <string>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

const std::string kIndent(17, ' ');

TEST(Fire, TheFireballScalesWithMagicAndTheShieldHealsAlliesPastMaxhpAndScorchesEnemies) {
  Scenario t;
  t.fighter("甲", 1).attribute(1);
  t.fighter("乙", 2).def(10);
  t.fighter("丙", 1);
  t.fighter("丁", 2);
  t.fighter("戊", 1).dead();
  // 100 + 5 - 20, less the defence.
  EXPECT_EQ(t.cast(Draws{999, /*%40*/ 45}.lands(), 1, 0, 2), "甲使用了火球术，乙掉了75点血\n");

  // 乙 is scorched (20 > 19) with 15 + 50 - 10 against its defence of 10; 丁 is passed over.
  EXPECT_EQ(t.cast(Draws{999, 20, 15}.lands().then({19}), 1, 1, 2),
            "甲使用了火盾护身，回复了甲的50点血\n" + kIndent + "乙掉了45点血\n" + kIndent +
                "回复了丙的50点血\n");
  EXPECT_EQ(t.g.roster[3].hp, 350);
  EXPECT_EQ(t.g.roster[3].max_hp, 300);

  // With no ally standing (the caster felled by its status) and no enemy scorched: the miss line.
  t.at(1).dead();
  t.at(3).dead();
  EXPECT_EQ(t.cast({999, 19, 0}, 1, 1, 2), "甲使用了火盾护身，但是没有命中一个人\n");
}

TEST(Water, TheSurgeStrikesEachEnemyItDrawsForThroughItsDefence) {
  Scenario t;
  t.fighter("甲", 1).attribute(2);
  t.fighter("乙", 2).def(40);
  t.fighter("丙", 2);
  t.fighter("丁", 3);
  t.fighter("戊", 1);
  // 乙: 40 + 25 + 3; 丙 is spared (4); 丁: 0 + 25 + 0.
  EXPECT_EQ(t.cast(Draws{999, 5, 3}.lands().then({4, 99, 15}).lands(), 1, 0, 2),
            "甲使用了潮涌核心，乙掉了28点血\n" + kIndent + "丁掉了25点血\n");
}

TEST(Water, ThePrisonClosesBeforeTheBlowEvenOnATargetTheBlowKills) {
  Scenario t;
  t.fighter("甲", 1).attribute(2);
  t.fighter("乙", 2).hp(10).status(12);
  // 25 - 0; the imprisoned target cannot dodge the 999.
  EXPECT_EQ(t.cast({999, 0, 49, 0, 999, 0, 0}, 1, 1, 2),
            "甲使用了水牢，将乙卷进水牢，扣血时乙掉了54点血\n   乙被秒杀了\n");
  EXPECT_EQ(t.g.roster[2].status, 1);
}

TEST(Electric, TheStormStopsStrikingWhenItsTargetDies) {
  Scenario t;
  t.console.show_pauses = true;
  t.fighter("甲", 1).attribute(3);
  t.fighter("乙", 2).hp(100).def(30);
  // Five strikes drawn, of 30 + 50 each; the second kills.
  EXPECT_EQ(t.cast(Draws{999, 1}.lands().kills(), 1, 0, 2),
            "甲使用了闪电风暴，乙掉了50点血\n[p125]" + kIndent +
                "乙掉了50点血\n   乙被秒杀了\n[p400][p125]");
}

TEST(Electric, TheChainSharesFourFailedDrawsOverTheWholeCast) {
  Scenario t;
  t.fighter("甲", 1).attribute(3);
  t.fighter("乙", 2);
  t.fighter("丙", 1);
  t.fighter("丁", 2).dead();
  t.fighter("戊", 2);
  // After 乙: 丙 (ally) and 丁 (dead) fail, 戊 is taken. After 戊: 甲 and 丙 fail, the budget is
  // spent, and the chain stays on 戊 without drawing again.
  const Draws d = Draws{999}.lands().then({2, 3, 4}).lands().then({0, 2}).then(Draws().lands(), 3);
  const std::string on_wu = kIndent + "戊掉了30点血\n";
  EXPECT_EQ(t.cast(d, 1, 1, 2), "甲使用了雷电传导，乙掉了30点血\n" + on_wu + on_wu + on_wu + on_wu);
}

TEST(Earth, TheRiftStrikesThreeOrFourTimesIndentedByFifteenSpaces) {
  Scenario t;
  t.fighter("甲", 1).attribute(4);
  t.fighter("乙", 2).hp(1000).def(100);
  const std::string line = std::string(15, ' ') + "乙掉了60点血\n";
  EXPECT_EQ(t.cast(Draws{999, 32767}.then(Draws().lands(), 4), 1, 0, 2),
            "甲使用了地裂术，乙掉了60点血\n" + line + line + line);
}

TEST(Earth, TheQuakeStrikesOnlyTheTargetsTeamWithTheTargetsDefence) {
  Scenario t;
  t.fighter("甲", 1).attribute(4);
  t.fighter("乙", 2).def(40);
  t.fighter("丙", 3);
  t.fighter("丁", 2);
  t.fighter("戊", 2).dead();
  t.fighter("己", 1);
  // Every member is struck with 40 + 50 + 15.
  EXPECT_EQ(t.cast(Draws{999}.lands().lands(), 1, 1, 2),
            "甲使用了地动山摇，乙掉了65点血\n" + kIndent + "丁掉了105点血\n");
}

TEST(Ice, TheIceStatusesGoOnlyToATargetAliveAfterTheBlowEvenIfItDodged) {
  Scenario t;
  t.console.show_pauses = true;
  t.fighter("甲", 1).attribute(5);
  t.fighter("乙", 2);
  t.fighter("丙", 2).hp(50);
  EXPECT_EQ(t.cast(Draws{999, 0}.dodged(), 1, 0, 2),
            "甲使用了 冰冻咒，但是乙闪开了\n[p500][p350]          乙被冻住了\n[p500]");
  EXPECT_EQ(t.g.roster[2].status, 8);

  EXPECT_EQ(t.cast(Draws{999, /*100 + 0 - 20*/ 0}.lands(), 1, 1, 2),
            "甲使用了 天降冰锥，乙掉了80点血\n[p350]          乙被给予'冻伤'状态\n[p500]");
  EXPECT_EQ(t.g.roster[2].status, 12);

  EXPECT_EQ(t.cast(Draws{999, 0}.kills(), 1, 1, 3),
            "甲使用了 天降冰锥，丙掉了80点血\n   丙被秒杀了\n[p400][p350][p500]");
  EXPECT_EQ(t.g.roster[3].status, 0);
}

}  // namespace
}  // namespace morvane
