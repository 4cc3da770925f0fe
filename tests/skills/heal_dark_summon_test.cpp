#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

auto fields(const Fighter& x) {
  return std::tuple(x.name, x.hp, x.max_hp, x.atk, x.def, x.magic, x.status, x.attribute,
                    x.curse_stacks, x.team, x.ultimate_level);
}

TEST(Healing, TheHealGoesToTheWeakestLivingAllyTheLaterSlotOnATie) {
  Scenario t;
  t.fighter("甲", 1).attribute(6).hp(1200);
  t.fighter("乙", 2);
  t.fighter("丙", 1).hp(200);
  t.fighter("丁", 1).hp(300);
  t.fighter("戊", 1).hp(200);
  t.fighter("己", 1).dead(-100);
  EXPECT_EQ(t.cast({999, /*no cover redirect*/ 0}, 1, 0, 2), "甲使用了治疗，回复了戊的50点血\n");
}

TEST(Healing, AnAllyAboveOneThousandIsHealedOnlyWhenItCalledForCover) {
  Scenario t;
  t.fighter("甲", 1).attribute(6).hp(1001);
  t.fighter("乙", 2);
  t.fighter("丙", 1).hp(5000);
  t.g.team_calls[1].needs_cover = 3;
  // Without the cover redirect the heal goes to the round driver's target.
  EXPECT_EQ(t.cast({999, 29}, 1, 0, 2), "甲使用了治疗，回复了乙的50点血\n");
  EXPECT_EQ(t.cast({999, 30}, 1, 0, 2), "甲使用了治疗，回复了丙的50点血\n");
  EXPECT_EQ(t.g.roster[3].hp, 5050);
}

TEST(Healing, TheDrainStrikesTheHealthiestEnemyAndAWeakOneCostsTheCaster) {
  Scenario t;
  t.fighter("甲", 1).attribute(6).magic(5);
  t.fighter("乙", 2).hp(400);
  t.fighter("丙", 1).hp(900);
  t.fighter("丁", 2).hp(400);
  t.fighter("戊", 2).dead();
  // 5 - 3: the blow is defended and the caster loses 8.
  EXPECT_EQ(t.cast(Draws{999, 3}.absorbed(0), 1, 1, 2),
            "甲使用了吸血，丁防御了\n             回复了自己的-8点血\n");
  EXPECT_EQ(t.g.roster[1].hp, 292);

  t.at(1).magic(50);
  EXPECT_EQ(t.cast(Draws{999, 0}.lands(), 1, 1, 2),
            "甲使用了吸血，丁掉了50点血\n             回复了自己的40点血\n");
  EXPECT_EQ(t.g.roster[1].hp, 332);
}

TEST(Dark, TheCurseStacksOnItsKillsAndAtFullStacksStrikesTheHealthiestEnemyIfAny) {
  Scenario t;
  t.fighter("甲", 1).attribute(7);
  t.fighter("乙", 2).hp(150).def(20);
  t.fighter("丙", 2).hp(160);
  t.fighter("丁", 2).hp(250);
  t.fighter("戊", 2).hp(2000);
  t.fighter("己", 2).hp(900);
  const std::string banner = "甲使用了阿瓦达索命，";
  // 1 x 100 + 20 against a defence of 20
  EXPECT_EQ(t.cast(Draws{999}.lands(), 1, 0, 4), banner + "他的魔咒射向了乙,乙掉了100点血\n");
  EXPECT_EQ(t.cast(Draws{999}.kills(), 1, 0, 4),
            banner + "他的魔咒射向了乙,乙掉了100点血\n   乙被秒杀了\n" +
                "乙的死给甲的阿瓦达索命叠加了层数\n");
  t.cast(Draws{999}.kills(), 1, 0, 4);  // 丙 takes 200
  EXPECT_EQ(t.cast(Draws{999}.kills(), 1, 0, 4),
            banner + "他的魔咒射向了丁,丁掉了300点血\n   丁被秒杀了\n" +
                "丁的死给甲的阿瓦达索命叠加了层数\n" +
                "甲的阿瓦达索命已经满层，接下来将秒杀一切\n");
  EXPECT_EQ(t.g.roster[1].curse_stacks, 4);
  EXPECT_EQ(
      t.cast(Draws{999, /*9999*/ 9999}.kills(), 1, 0, 6),
      banner + "由于层数叠满，直接秒杀\n戊掉了9999点血\n" + "   戊在一道伴着巨响的强光中消失了\n");
  EXPECT_EQ(t.g.roster[6].hp, 900);
  EXPECT_EQ(t.g.roster[1].curse_stacks, 4);

  // With every enemy down, a full-stack curse strikes nobody and takes no draw.
  t.at(6).hp_only(0);
  const long paused = t.console.total_pause;
  EXPECT_EQ(t.cast({/*ultimate*/ 0}, 1, 0, 6), "甲使用了 奥义·阿瓦达索命，但是没有命中一个人\n");
  EXPECT_EQ(t.console.total_pause - paused, 700);
  EXPECT_FALSE(t.g.roster[1].casting_ultimate);
}

TEST(Dark, TheBladeLosesATenthPerBounceAndStopsWhenItFindsNoEnemy) {
  Scenario t;
  t.console.show_pauses = true;
  t.fighter("甲", 1).attribute(7);
  t.fighter("乙", 2).hp(1000);
  t.fighter("丙", 1);
  t.fighter("丁", 2).hp(1000);
  // 100 + 59; after 乙, 丙 and 甲 are rejected and 丁 taken; after 丁, 丙 spends the budget.
  EXPECT_EQ(t.cast(Draws{999, 59}.lands().then({2, 0, 3}).lands().then({2}), 1, 1, 2),
            "甲使用了神锋无影，乙掉了159点血\n[p500]" + std::string(17, ' ') + "丁掉了135点血\n");
}

TEST(Summoning, AChessPieceJoinsTheTeamAndAnUltimateScalesIt) {
  Scenario t;
  t.fighter("甲", 1).attribute(8);
  t.fighter("乙", 2);
  // Left behind by an earlier level.
  t.g.roster.put(3, Fighter{"旧", 9, 9, 9, 9, 9, 9, 9, 9, 9, 7, true});
  EXPECT_EQ(t.cast({999}, 1, 0, 2), "甲使用了召唤棋子，场上出现了一个棋子\n");
  EXPECT_EQ(fields(t.g.roster[3]),
            std::tuple(std::string("棋子"), 100, 100, 50, 50, 0, 0, 0, 0, 1, 7));
  EXPECT_TRUE(t.g.roster[3].casting_ultimate);

  t.cast({/*ultimate*/ 0}, 1, 0, 2);
  EXPECT_EQ(fields(t.g.roster[4]),
            std::tuple(std::string("棋子"), 200, 200, 100, 100, 0, 0, 0, 0, 1, 0));
}

TEST(Summoning, AZombieRisesFromTheLowestCorpseOfEitherSideForTheCaster) {
  Scenario t;
  t.console.show_colors = true;
  t.fighter("甲", 2).attribute(8);
  t.fighter("乙", 1).dead(-50);
  t.fighter("丙", 2).dead(-50);
  t.fighter("丁", 1);
  t.fighter("戊", 1).dead(-30);
  // hp 150 + 10, atk 84, def 20 + 9, no black magic (69).
  EXPECT_EQ(t.cast({999, 10, 84, 9, 69}, 1, 1, 4), "甲使用了生化攻击，把死去的丙变成了一只丧尸\n");
  EXPECT_EQ(fields(t.g.roster[6]),
            std::tuple(std::string("丧尸"), 160, 160, 84, 29, 0, 0, 0, 0, 2, 0));

  EXPECT_EQ(t.cast({/*ultimate*/ 0, 0, 10, 0, /*black magic*/ 70}, 1, 1, 4),
            "甲使用了 奥义·生化攻击，把死去的丙变成了一只丧尸\n"
            "[c3]丧尸 黑化 了，变成了一只黑魔法丧尸\n");
  EXPECT_EQ(fields(t.g.roster[7]),
            std::tuple(std::string("黑魔法丧尸"), 300, 300, 20, 40, 0, 0, 7, 0, 2, 0));
}

}  // namespace
}  // namespace morvane
