#include "modes/round.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <tuple>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// 甲 in slot 1 takes the only turns of one round per strategy in `strategies`, everyone else
// sitting in ice; returns the names of those it hurt.
std::string targets(Scenario& t, std::initializer_list<std::int32_t> strategies,
                    std::int32_t focus_draw = 0) {
  Slots<std::int32_t> hp_before;
  for (std::int32_t j = 2; j < t.g.roster.next_slot(); ++j) {
    t.at(j).status(8);
    hp_before[j] = t.g.roster[j].hp;
  }
  for (const std::int32_t strategy : strategies) {
    t.draws(Draws{strategy, focus_draw}.lands(0));
  }
  t.g.options.max_rounds = static_cast<std::int64_t>(strategies.size());
  run_battle(t.g);
  std::string hit;
  for (std::int32_t j = 2; j < t.g.roster.next_slot(); ++j)
    if (t.g.roster[j].hp != hp_before[j]) hit += t.g.roster[j].name;
  return hit;
}

TEST(Round, EachStrategyPicksAmongLivingEnemiesOnlyAndTheLowestSlotOnATie) {
  // Per strategy (fewest hp, most atk, most hp, most def): 乙 is the worst pick, 丙 and 丁 tie
  // for the best, the ally 戊 and the fallen 己 would be better still.
  const std::int32_t worst[] = {500, 70, 400, 10}, best[] = {300, 90, 600, 20},
                     beyond[] = {50, 200, 900, 30};
  for (std::int32_t strategy = 0; strategy < 4; ++strategy) {
    Scenario t;
    const Scenario::SlotHandle::Setter field = strategy == 1   ? &Roster::set_atk
                                               : strategy == 3 ? &Roster::set_def
                                                               : &Roster::set_hp;
    t.fighter("甲", 1);
    t.fighter("戊", 1).set(field, beyond[strategy]);
    t.fighter("己", 2).set(field, beyond[strategy]);
    t.at(3).dead(-5);
    t.fighter("乙", 2).set(field, worst[strategy]);
    t.fighter("丙", 2).set(field, best[strategy]);
    t.fighter("丁", 2).set(field, best[strategy]);
    EXPECT_EQ(targets(t, {strategy}), "丙") << strategy;
  }
}

TEST(Round, StrategyZeroPassesOverOneThousandHitPointsAndThenKeepsThePreviousTarget) {
  Scenario t;
  t.fighter("甲", 1);
  t.fighter("乙", 2).hp(1000).atk(10);
  t.fighter("丙", 2).hp(2000).atk(90);
  EXPECT_EQ(targets(t, {/*most atk*/ 1, /*fewest hp, none under 1000*/ 0}), "丙");
  EXPECT_EQ(t.g.roster[3].hp, 2000 - 2 * 40);

  Scenario u;  // with no target chosen yet in the battle: the first living enemy
  u.fighter("甲", 1);
  u.fighter("乙", 2).dead();
  u.fighter("丙", 2).hp(1500);
  u.fighter("丁", 2).hp(1000);
  EXPECT_EQ(targets(u, {0}), "丙");
}

TEST(Round, StrategyTwoPrefersADarkEnemyUnlessAStrongerOneComesAfterIt) {
  for (const std::int32_t last_hp : {600, 0}) {
    Scenario t;
    t.fighter("甲", 1);
    t.fighter("乙", 2).hp(500);
    t.fighter("丙", 2).hp(100).attribute(7);
    t.fighter("丁", 2).hp(400);
    t.fighter("戊", 2).hp(last_hp);
    EXPECT_EQ(targets(t, {2}), last_hp > 0 ? "戊" : "丙");
  }
}

TEST(Round, FocusFireOverridesTheTargetWhenAliveEvenIfItNamesAnAlly) {
  // 丙 is the only enemy under 1000 hit points, 丁 has fallen, 戊 is an ally.
  const std::tuple<std::int32_t, std::int32_t, std::string> cases[] = {
      {2, 30, "乙"}, {2, 29, "丙"}, {4, 99, "丙"}, {5, 30, "戊"}, {0, 99, "丙"}};
  for (const auto& [focus_slot, focus_draw, hit] : cases) {
    Scenario t;
    t.fighter("甲", 1);
    t.fighter("乙", 2).hp(1000);
    t.fighter("丙", 2).hp(999);
    t.fighter("丁", 2).dead();
    t.fighter("戊", 1);
    t.g.team_calls[1].focus = focus_slot;
    EXPECT_EQ(targets(t, {0}, focus_draw), hit) << focus_slot << " " << focus_draw;
  }
}

TEST(Round, StatusDamageComesFromTheLastActorAndTheRoundEndsWithEveryonesHitPoints) {
  Scenario t;
  t.fighter("甲", 1);
  t.fighter("乙", 2).status(16);
  t.fighter("丙", 2).dead(-5);
  t.draws(Draws{/*strategy*/ 0, /*focus*/ 0}.lands(0));
  t.draws({/*bleeding: spread*/ 20, 0, 0, 0, /*no reply*/ 0, /*follow-up*/ 13000, 7000});
  t.draws(Draws{/*strategy*/ 0, /*focus*/ 0}.lands(10));
  t.g.options.max_rounds = 1;
  t.console.show_pauses = true;
  EXPECT_FALSE(run_battle(t.g));
  EXPECT_EQ(t.transcript(),
            "甲发动攻击，乙掉了40点血\n[p700]乙因为流血受到伤害…\n乙掉了15点血\n"
            "\t\t甲:到你们了！干掉这个家伙！\n[p1000]乙发动攻击，甲掉了50点血\n[p700]"
            "回合结束，目前血量：250 245 -5 [p1000]\n[p500]"
            "战斗超过1回合仍未分出胜负，判为平局\n[p1000]");
  EXPECT_EQ(t.g.round_count, 2);
  EXPECT_EQ(t.g.counted_teams, 3);
}

TEST(Round, BeforeAnyoneActsStatusDamageComesFromTheBearerWhoStillActsIfItKilledHim) {
  Scenario t;
  t.fighter("乙", 2).hp(400).hp_only(5).status(16);
  t.fighter("甲", 1).hp(40);
  t.draws({/*bleeding: spread*/ 10, 0, 0, 0, /*follow-up*/ 13000, 7000});
  t.draws(Draws{/*strategy*/ 0, /*focus fire on the fallen 乙*/ 30}.kills(0));
  EXPECT_TRUE(run_battle(t.g));
  EXPECT_EQ(t.transcript(),
            "乙因为流血受到伤害…\n乙掉了10点血\n   乙被秒杀了\n\t\t乙:到你们了！干掉这个家伙！\n"
            "乙发动攻击，甲掉了40点血\n   甲被秒杀了\n");
}

TEST(Round, ASummonedFighterActsInTheRoundItWasSummoned) {
  Scenario t;
  t.fighter("甲", 1).attribute(8);
  t.fighter("乙", 2).hp(30).status(8);
  t.draws({/*strategy*/ 0, /*focus*/ 0, /*召唤棋子*/ 69, /*no ultimate*/ 999});
  t.draws(Draws{/*棋子: strategy*/ 0, /*focus*/ 0}.kills(0));
  EXPECT_TRUE(run_battle(t.g));
  EXPECT_EQ(t.transcript(),
            "甲使用了召唤棋子，场上出现了一个棋子\n乙在冰块里无法动弹\n"
            "棋子发动攻击，乙掉了30点血\n   乙被秒杀了\n");
}

TEST(Round, ASkillKillingTheLastEnemyEndsTheBattleOnlyAtTheNextBasicAttackOrTheRoundEnd) {
  for (const bool ally_follows : {true, false}) {
    Scenario t;
    t.fighter("甲", 1).attribute(1);
    t.fighter("乙", 2).hp(60);
    t.draws(Draws{/*strategy*/ 0, /*focus*/ 0, /*火球术*/ 69, /*no ultimate*/ 999, /*fireball*/ 0}
                .kills(0));
    std::string expected = "甲使用了火球术，乙掉了60点血\n   乙被秒杀了\n";
    if (ally_follows) {  // 丙 finds no living enemy, keeps the fallen target and strikes it again
      t.fighter("丙", 1);
      t.draws(Draws{/*strategy*/ 2, /*focus*/ 0}.kills(0));
      expected += "丙发动攻击，乙掉了40点血\n   乙被秒杀了\n";
    }
    EXPECT_TRUE(run_battle(t.g));
    EXPECT_EQ(t.transcript(), expected);
    EXPECT_EQ(t.g.round_count, 1);
  }
}

TEST(Round, TheAuthorShrugsOffStatusesAfterDrawingHisColour) {
  Scenario t;
  t.console.show_colors = true;
  t.fighter("作者", 1).attribute(33).status(1);
  t.fighter("乙", 2).hp(40);
  t.draws(Draws{/*colour*/ 5, /*strategy*/ 0, /*focus*/ 0, /*no skill*/ 0, 0}.kills(0));
  EXPECT_TRUE(run_battle(t.g));
  EXPECT_EQ(t.transcript(), "[c0][c0][c5]作者发动攻击，乙掉了40点血\n   乙被秒杀了\n[c0]");
}

}  // namespace
}  // namespace morvane
