#include "mechanics/attack.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

constexpr std::int32_t kCall = 13000;   // opens a round of chatter: rand() % 20000 > 12999
constexpr std::int32_t kQuiet = 12999;  // the highest draw that opens none

// 甲 of team 1 strikes 乙 of team 2.
struct Duel : Scenario {
  Duel() {
    fighter("甲", 1);
    fighter("乙", 2);
  }
  const Fighter& target() const { return g.roster[2]; }
  void hit(std::int32_t value = 60) { attack(g, 1, 2, value); }
};

TEST(Attack, OnlyATargetWithoutStatusCanDodge) {
  const std::tuple<std::int32_t, std::int32_t, bool> cases[] = {
      {0, 900, true}, {-3, 999, true}, {0, 899, false}, {1, 999, false}, {20, 900, false}};
  for (const auto& [status, dodge_draw, dodges] : cases) {
    Duel t;
    t.at(2).status(status);
    t.draws({/*spread*/ 10, /*no call*/ 0, dodge_draw});
    if (!dodges) t.draws({/*no critical*/ 0, /*no reply*/ 0, /*no follow-up*/ 0});
    t.hit();
    EXPECT_EQ(t.transcript(), dodges ? "但是乙闪开了\n" : "乙掉了50点血\n") << status;
  }
}

TEST(Attack, NothingGetsThroughAtZeroDamageEvenOnACriticalButOnePointDoes) {
  Duel t;
  t.at(2).def(40);
  t.draws({/*spread*/ 0, 0, 0, /*critical*/ 3});
  t.hit(50);
  t.draws(Draws().absorbed(0));
  t.hit();
  t.draws(Draws().lands(1));
  t.hit();
  EXPECT_EQ(t.transcript(), "打出了暴击，乙防御了\n乙防御了\n乙掉了1点血\n");
  EXPECT_EQ(t.target().hp, 299);
}

TEST(Attack, TheDeathLineDependsOnHowFarBelowZeroAndOnTheFirstRound) {
  // round_count, hit points before a hit of 100 (from 0 or below it strikes the fallen), the line
  const std::tuple<std::int32_t, std::int32_t, std::string> cases[] = {
      {2, -400, "在一道伴着巨响的强光中消失了"},
      {2, -399, "化为尘埃"},
      {1, -100, "化为尘埃"},
      {2, -99, "重伤身亡"},
      {1, -99, "被秒杀了"},
      {2, 50, "重伤身亡"},
      {2, 51, "倒地了"},
      {1, 100, "被秒杀了"}};
  for (const auto& [round_count, hp_before, line] : cases) {
    Duel t;
    t.g.round_count = round_count;
    t.at(2).hp_only(hp_before);
    t.draws(Draws().kills(0));
    t.hit(120);
    EXPECT_EQ(t.transcript(), "乙掉了100点血\n   乙" + line + "\n") << hp_before;
  }
}

TEST(Attack, TheOpeningCallsAreTriedInOrderAndRecordedForTheAttackersTeam) {
  // The chatter's draw, then each call just misses until the last draw; the call's line, the
  // focus and the call for cover it leaves with team 1.
  const std::tuple<Draws, std::string, std::int32_t, std::int32_t> cases[] = {
      {{kQuiet}, "", 0, 0},
      {{kCall, 9000}, "我要上了！各位搭把手集火乙！", 2, 0},
      {{kCall, 8999, 7999, 6999, 6000}, "我要上了！各位掩护我！", 0, 1},
      {{kCall, 8999, 7999, 6999, 5999, 4999, 4000},
       "如果你们不想看着我死在这儿，就掩护我，白痴！",
       0,
       1}};
  for (const auto& [calls, line, focus, needs_cover] : cases) {
    Duel t;
    t.draws(Draws{/*spread*/ 0}.then(calls).then({0, 0, 0, 0}));
    t.hit();
    EXPECT_EQ(t.transcript(), (line.empty() ? "" : "\n\t甲:" + line + "\n") + "乙掉了40点血\n");
    EXPECT_EQ(t.g.team_calls[1].focus, focus) << line;
    EXPECT_EQ(t.g.team_calls[1].needs_cover, needs_cover) << line;
  }
}

TEST(Attack, TheCoverCryNeedsTwentyNineHitPointsOrLessAndSilencesTheComplaint) {
  const std::string cry = "\t\t乙:我要倒了！掩护我！\n", ouch = "\t\t乙:天哪，这下可真够疼的！\n";
  // Hit points and maximum before a hit of 40, the reply's draws (the chatter's first), its lines.
  const std::tuple<std::int32_t, std::int32_t, Draws, std::string> cases[] = {
      {69, 69, {kCall, 7000, 9000}, cry + "\t\t乙:反击啊，你们这群废物！集火那个甲！\n"},
      {69, 69, {kCall, 6999, 7000, 0}, ouch},
      {70, 320, {kCall, 7000, 8999}, ouch},  // 30 left: no cry drawn; 40 is an eighth of 320
      {70, 328, {kCall, 8999}, ""},          // 40 is less than an eighth of 328: no complaint drawn
      {69, 69, {kQuiet}, ""},                // no chatter: no cry, however low
  };
  for (const auto& [hp, max_hp, reply, lines] : cases) {
    Duel t;
    t.at(2).hp(max_hp).hp_only(hp);
    t.draws(Draws{/*spread*/ 0, 0, 0, 0}.then(reply).then({/*no follow-up*/ 0}));
    t.hit();
    EXPECT_EQ(t.transcript(), "乙掉了40点血\n" + lines) << hp << " " << max_hp;
    EXPECT_EQ(t.g.team_calls[2].needs_cover, lines.starts_with(cry) ? 2 : 0);
    EXPECT_EQ(t.g.team_calls[2].focus, lines.ends_with("集火那个甲！\n") ? 1 : 0);
  }
}

TEST(Attack, TheFollowUpAfterAKillCanStillCallFocusFireOnTheFallen) {
  // The follow-up's draws (the chatter's first), its line, the focus it leaves with team 1.
  const std::tuple<Draws, std::string, std::int32_t> cases[] = {
      {{kCall, /*first call misses*/ 6999, 0, 7000}, "\t\t甲:漂亮！各位集火这家伙！\n", 2},
      {{kQuiet}, "", 0},
  };
  for (const auto& [follow_up, line, focus] : cases) {
    Duel t;
    t.at(2).hp_only(40);
    t.draws(Draws{/*spread*/ 0, 0, 0, 0}.then(follow_up));
    t.hit();
    EXPECT_EQ(t.transcript(), "乙掉了40点血\n   乙被秒杀了\n" + line);
    EXPECT_EQ(t.g.team_calls[1].focus, focus);
  }
}

}  // namespace
}  // namespace morvane
