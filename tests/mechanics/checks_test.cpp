#include "mechanics/checks.hpp"

#include <gtest/gtest.h>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(Checkwin, CountsEveryTeamAndEndsWhenAtMostOneTeamNumberedUpToNStands) {
  Scenario t;
  t.fighter("甲", 1);
  t.fighter("乙", 1);
  t.fighter("丙", 2).dead(-30);
  t.fighter("丁", 3);
  EXPECT_FALSE(check_victory(t.g));
  EXPECT_EQ(t.g.standing_per_team[1], 2);
  EXPECT_EQ(t.g.standing_per_team[2], 0);
  t.g.counted_teams = 2;  // team 3 is counted but no longer keeps the battle going
  EXPECT_TRUE(check_victory(t.g));
  EXPECT_EQ(t.g.standing_per_team[3], 1);
  t.at(1).dead();
  t.at(2).dead();
  t.at(4).dead(-5);
  EXPECT_TRUE(check_victory(t.g));
  EXPECT_EQ(t.g.standing_per_team[1] + t.g.standing_per_team[3], 0);
}

}  // namespace
}  // namespace morvane
