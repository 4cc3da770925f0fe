#include "modes/setup.hpp"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "mechanics/checks.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;
using Values = std::array<std::int32_t, 5>;  // hp, atk, def, magic, attribute

Values values(const Fighter& x) {
  EXPECT_EQ(x.max_hp, x.hp) << x.name;
  return {x.hp, x.atk, x.def, x.magic, x.attribute};
}

TEST(CreateFighter, AnOrdinaryNameTakesItsFiveDrawsInOrder) {
  Scenario t;
  // Each draw leaves a different remainder for each range, so a swap shows.
  t.draws({/*hp*/ 1000, /*atk*/ 2001, /*def*/ 3002, /*magic*/ 4003, /*attribute*/ 5004});
  create_fighter(t.g, "甲", 3, Mode::TeamMatch, Position::Closing);
  const Fighter& x = t.g.roster[1];
  EXPECT_EQ(values(x), (Values{150, 51, 22, 23, 5}));
  EXPECT_EQ(x.name, "甲");
  EXPECT_EQ(
      (std::array{x.team, x.curse_stacks, x.ultimate_level, x.status, t.g.roster.next_slot()}),
      (std::array{3, 1, 1, 0, 2}));
}

TEST(CreateFighter, NamedCharactersRedrawOrScaleByTheirRowAndPosition) {
  // The base draw gives hp 301, atk 50, def 25, magic 40 and attribute 1; a redraw takes four more.
  const std::tuple<const char*, Position, bool, Values> cases[] = {
      {"tessik", Position::Inner, true, {2999, 299, 149, 159, 9}},
      {"tessik", Position::Closing, true, {2999, 299, 249, 159, 9}},
      {"Varqueb", Position::Inner, true, {2999, 299, 149, 159, 10}},
      {"Varqueb", Position::Closing, true, {1749, 199, 134, 59, 10}},
      {"富兰克林", Position::Inner, true, {499, 149, 109, 69, 22}},
      {"麦克", Position::Closing, true, {499, 149, 109, 69, 23}},
      {"崔佛", Position::Inner, true, {499, 149, 109, 69, 24}},
      {"Prane", Position::Inner, false, {602, 75, 50, 40, 11}},
      {"Prane", Position::Closing, false, {602, 75, 37, 40, 11}},
      {"Halvic", Position::Closing, false, {451, 62, 37, 40, 12}},
      {"vmrqtoa4817", Position::Inner, false, {401, 66, 33, 40, 14}},
      {"w_k", Position::Closing, false, {401, 66, 33, 40, 15}},
      {"杰哥", Position::Inner, false, {602, 75, 37, 40, 16}},
      {"指挥官", Position::Closing, false, {301, 50, 25, 40, 17}},
      {"mossu_ka", Position::Inner, false, {451, 66, 33, 40, 21}},
      {"Tessik", Position::Closing, false, {301, 50, 25, 40, 1}},
      {"PraneHalvic", Position::Closing, false, {301, 50, 25, 40, 1}},
      {"杰", Position::Closing, false, {301, 50, 25, 40, 1}},
  };
  for (const auto& [name, position, redrawn, expected] : cases) {
    Scenario t;
    t.draws({151, 0, 5, 20, 0});
    if (redrawn) t.draws({/*hp*/ 999, /*atk*/ 99, /*def*/ 149, /*magic*/ 119});
    create_fighter(t.g, name, 1, Mode::TeamMatch, position);
    EXPECT_EQ(values(t.g.roster[1]), expected) << name;
  }
}

TEST(TeamSetup, EveryNameOfALineIsAFighterEmptyOnesIncluded) {
  Scenario t("2\n甲//乙/\n/\n");
  t.random.script(std::vector<std::int32_t>(30, 0));
  team_setup(t.g, Mode::TeamMatch);  // its prompts are pinned by the golden games
  ASSERT_EQ(t.g.roster.next_slot(), 7);
  const char* names[] = {"甲", "", "乙", "", "", ""};
  for (std::int32_t i = 1; i < 7; ++i) {
    EXPECT_EQ(t.g.roster[i].name, names[i - 1]) << i;
    EXPECT_EQ(t.g.roster[i].team, i < 5 ? 1 : 2) << i;
  }
  EXPECT_EQ(t.g.counted_teams, 2);
  EXPECT_EQ(t.g.skill_thresholds[6], (std::array<std::int32_t, 2>{65, 65}));
}

TEST(TeamSetup, OnlyTheLastNameOfALineIsAClosingNameAndASpaceStartsTheNextLine) {
  Scenario t("2\ntessik/tessik 甲\n");
  t.draws({0, 0, 0, 0, 0, 0, 0, 149, 0, 0, 0, 0, 0, 0, 0, 0, 149, 0, 0, 0, 0, 0, 0});
  team_setup(t.g, Mode::TeamMatch);
  EXPECT_EQ(t.g.roster[1].def, 149);
  EXPECT_EQ(t.g.roster[2].def, 249);
  EXPECT_EQ(t.g.roster[3].name, "甲");
  EXPECT_EQ(t.g.roster[3].team, 2);
}

TEST(TeamSetup, TheDarkMatchMultipliesHitPointsAndFixesTheCurseThresholds) {
  Scenario t("1\n杰哥/甲\n");
  t.draws({151, 0, 5, 20, 0, 32767, 0, 0, 0, 0});
  team_setup(t.g, Mode::DarkMatch);
  EXPECT_EQ(values(t.g.roster[1]), (Values{30100, 75, 37, 40, 16}));
  EXPECT_EQ(values(t.g.roster[2]), (Values{8350, 50, 20, 20, 7}));
  EXPECT_EQ((std::array{t.g.roster[1].curse_stacks, t.g.roster[2].curse_stacks}),
            (std::array{4, 4}));
  EXPECT_EQ(t.g.skill_thresholds[6], (std::array<std::int32_t, 2>{0, 100}));
}

TEST(TeamSetup, TheRosterHoldsAtMost1004TeamsAndFighters) {
  Scenario t("2000\n");
  t.random.script(std::vector<std::int32_t>(5 * 1004, 0));
  team_setup(t.g, Mode::TeamMatch);
  EXPECT_EQ(t.g.counted_teams, 1004);
  EXPECT_EQ(t.g.roster.next_slot(), 1005);
  create_fighter(t.g, "甲", 1, Mode::TeamMatch, Position::Closing);  // takes no draw
  EXPECT_EQ(t.g.roster.next_slot(), 1005);
  EXPECT_EQ(t.g.roster[1004].team, 1004);
}

TEST(TeamSetup, ALineCutAfterTheRostersLastNameMakesTheSameGame) {
  // tessik is the 1004th name, an inner one: as the line's last it would have other values.
  std::string line;
  for (int i = 0; i < 1003; ++i)
    line += "n" + std::to_string(i % 10) + "/";
  line += "tessik/x/y/" + std::string(3000, 'z');
  auto table = [&](TokenLimits limits) {
    RecordingConsole con("1 2 " + line + " 甲", limits);
    Lcg random(3);
    play_game(*std::make_unique<Game>(con, random));
    return con.transcript();
  };
  const std::string whole = table({.token_bytes = 100000, .names_per_line = 100000});
  EXPECT_EQ(table({}), whole);
  EXPECT_NE(whole.find("\ntessik 2"), std::string::npos) << whole.substr(0, 300);
}

TEST(GameOver, TheWinnerIsTheLowestTeamWithAnyoneStandingIfAny) {
  Scenario t;
  t.fighter("甲", 1).dead(-5);
  t.fighter("乙", 2).hp(10);
  t.fighter("丙", 3);
  check_victory(t.g);
  game_over(t.g, true);
  EXPECT_EQ(t.transcript(),
            "游戏结束！\n目前血量：-5 10 300 \n胜利的是第2队\n如果想再来请重新运行程序");
  EXPECT_EQ(t.console.total_pause, 4000);
  EXPECT_TRUE(t.g.outcome.over);
  EXPECT_EQ(t.g.outcome.winner, 2);

  Scenario none;
  none.fighter("甲", 1).dead(-5);
  none.fighter("乙", 2).dead();
  check_victory(none.g);
  game_over(none.g, true);
  EXPECT_EQ(none.transcript(), "游戏结束！\n目前血量：-5 0 \n如果想再来请重新运行程序");
  EXPECT_EQ(none.g.outcome.winner, 0);

  // A draw at the round cap names nobody, whoever stands.
  Scenario draw;
  draw.fighter("甲", 1);
  draw.fighter("乙", 2);
  game_over(draw.g, false);
  EXPECT_EQ(draw.g.outcome.winner, 0);
  EXPECT_FALSE(draw.g.outcome.decided);
}

}  // namespace
}  // namespace morvane
