#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(SummonHenchman, TheColourIsDrawnFirstAndAnUltimateScalesTheHenchman) {
  for (auto [ultimate, scale] : {std::pair{999, 1}, std::pair{0, 2}}) {
    Scenario t;
    t.console.show_colors = true;
    auto author = t.fighter("作者", 2).attribute(33);
    t.fighter("甲", 1);
    const std::string out = t.cast({ultimate, /*colour*/ 5, /*attribute 13*/ 12}, author, 0, 2);
    const Fighter& h = t.g.roster[3];
    EXPECT_EQ(h.name, "敌人");
    EXPECT_EQ(
        (std::vector{t.g.roster.next_slot(), h.hp, h.max_hp, h.atk, h.def, h.magic, h.attribute,
                     h.team, h.ultimate_level}),
        (std::vector{4, 400 * scale, 400 * scale, 100 * scale, 70 * scale, 80 * scale, 13, 2, 0}));
    EXPECT_EQ(out, std::string("作者使用了") + (scale == 2 ? " 奥义·" : "") +
                       "召唤手下，[c5]叫来了一个属性为13的敌人！\n");
  }
}

TEST(AntiEverythingCannon, CannotBeDodgedAndKillsAnInvincibleTarget) {
  Scenario t;
  auto author = t.fighter("作者", 2).attribute(33);
  auto trevor = t.fighter("崔佛", 1).hp(450).status(22).def(2147483647);
  EXPECT_EQ(
      t.cast({999, 0, /*spread*/ 20, 0, /*a dodge, were it allowed*/ 999, 0, 0}, author, 1, trevor),
      "作者使用了88反一切炮，将炮口对准了崔佛...崔佛掉了975点血\n"
      "   崔佛在一道伴着巨响的强光中消失了\n");
  EXPECT_EQ(trevor.record().status, 10);
  EXPECT_EQ(trevor.record().hp, -525);
}

TEST(Author, AHealWrapsItsHitPointsToANegativeValueWithoutADeathLine) {
  Scenario t;
  auto author = t.fighter("作者", 2).attribute(33).hp(2147483647);
  auto henchman = t.fighter("敌人", 2).attribute(14).hp(400);
  t.fighter("甲", 1);
  const std::string out = t.cast({999, /*1% for each*/ 0, 0}, henchman, 1, 3);
  EXPECT_EQ(author.record().hp, -2126008813);
  EXPECT_EQ(out.find("   作者"), std::string::npos);  // no death line
}

}  // namespace
}  // namespace morvane
