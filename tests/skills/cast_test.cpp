#include "skills/cast.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(Cast, EveryAttributeFromOneToEightCastsBothOfItsSkillsInItsOwnColour) {
  // Every blow here is dodged.
  const Draws dodged = Draws().dodged(), bounce = Draws().dodged().then({/*乙 again*/ 1});
  // Attribute, skill, name, the colour after the banner ("" when the branch writes in the
  // turn's colour), the draws after the ultimate roll.
  const std::tuple<std::int32_t, int, std::string, std::string, Draws> skills[] = {
      {1, 0, "火球术", "[c4]", Draws{0}.dodged()},
      {1, 1, "火盾护身", "[c4]", {/*乙 not scorched*/ 0}},
      {2, 0, "潮涌核心", "[c1]", {/*乙 not swept*/ 0}},
      {2, 1, "水牢", "[c1]", {0, /*imprisoned, no dodge*/ 0, 0, 900, 0}},
      {3, 0, "闪电风暴", "[c5]", Draws{/*4 strikes*/ 0}.then(dodged, 4)},
      {3, 1, "雷电传导", "[c5]", Draws().then(bounce, 5)},
      {4, 0, "地裂术", "[c6]", Draws{/*3 strikes*/ 0}.then(dodged, 3)},
      {4, 1, "地动山摇", "[c6]", dodged},
      {5, 0, " 冰冻咒", "", Draws{0}.dodged()},
      {5, 1, " 天降冰锥", "", Draws{0}.dodged()},
      {6, 0, "治疗", "[c2]", {/*no cover redirect*/ 0}},
      {6, 1, "吸血", "", Draws{0}.dodged()},
      {7, 0, "阿瓦达索命", "[c3]", dodged},
      {7, 1, "神锋无影", "[c3]", Draws{0}.then(bounce, 3)},
      {8, 0, "召唤棋子", "", {}},
      {8, 1, "生化攻击", "", {}},
  };
  for (const auto& [attribute, skill, name, colour, draws] : skills) {
    SCOPED_TRACE(name);
    Scenario t;
    t.console.show_colors = true;
    t.fighter("甲", 1).attribute(attribute).magic(0).curse_stacks(0);
    t.fighter("乙", 2);
    const std::string out = t.cast(Draws{999}.then(draws), 1, skill, 2);
    const std::string banner = "甲使用了" + name + "，";
    ASSERT_EQ(out.substr(0, banner.size() + colour.size()), banner + colour);
    if (colour.empty()) {
      EXPECT_NE(out.at(banner.size()), '[');
    }
  }
}

// Attributes 25 ... 32 have no branch: their cast is the banner alone, the line left open.
TEST(Cast, TheUltimateRollIsBelowOneHundredPerLevelAndAttributesWithoutSkillsWriteOnlyTheBanner) {
  // Level, roll, whether it is an ultimate.
  const std::tuple<std::int32_t, std::int32_t, bool> rolls[] = {
      {0, 0, false},  {1, 99, true},   {1, 100, false}, {1, 1099, true},
      {3, 299, true}, {3, 300, false}, {10, 999, true}, {15, 32767, true}};
  std::int32_t attribute = 25;
  for (const auto& [ultimate_level, roll, ultimate] : rolls) {
    SCOPED_TRACE(std::to_string(ultimate_level) + " " + std::to_string(roll));
    Scenario t;
    t.fighter("甲", 1).attribute(attribute).ultimate_level(ultimate_level);
    t.fighter("乙", 2);
    EXPECT_EQ(t.cast({roll}, 1, attribute % 2, 2), ultimate ? "甲使用了 奥义·，" : "甲使用了，");
    EXPECT_EQ(t.g.roster[1].ultimate_level, ultimate_level + (ultimate ? 1 : 0));
    EXPECT_FALSE(t.g.roster[1].casting_ultimate);
    ++attribute;
  }
}

TEST(Cast, AFirstUltimateDoublesEveryHitAndEndsWithTheCastHoweverItEnds) {
  Scenario t;
  t.fighter("甲", 1).attribute(3);
  t.fighter("乙", 2).hp(1000);
  // Ultimate, 4 strikes of 50 (magic 50 plus the target's defence 0), all quiet.
  t.cast(Draws{0, 0}.then(Draws().lands(), 4), 1, 0, 2);
  EXPECT_EQ(t.g.roster[2].hp, 600);
  EXPECT_EQ(t.g.roster[1].ultimate_level, 2);
  EXPECT_FALSE(t.g.roster[1].casting_ultimate);

  t.at(1).attribute(8);
  t.cast({/*ultimate*/ 199}, 1, 1, 2);  // no corpse to raise: the cast ends early
  EXPECT_EQ(t.g.roster[1].ultimate_level, 3);
  EXPECT_FALSE(t.g.roster[1].casting_ultimate);
}

TEST(Cast, AtAFullRosterNoSummonComesAndNoneOfItsDrawsIsTakenButTheLinesStay) {
  Scenario t;
  t.console.show_pauses = true;
  const std::tuple<const char*, std::int32_t, int> casters[] = {
      {"甲", 8, 0},      {"丙", 8, 1},        {"tessik", 9, 0}, {"Halvic", 12, 0},
      {"指挥官", 17, 1}, {"富兰克林", 22, 1}, {"作者", 33, 0}};
  for (auto [name, attribute, skill] : casters)
    t.fighter(name, 1).attribute(attribute);
  t.fighter("乙", 2).dead(-50);
  t.g.roster.set_next_slot(kMaxSlot + 1);
  for (std::int32_t i = 0; i < 7; ++i) {
    const Draws d = i < 6 ? Draws{999} : Draws{999, /*colour*/ 0, /*attribute*/ 0};
    t.cast(d, i + 1, std::get<2>(casters[i]), 8);
  }
  EXPECT_EQ(t.g.roster.next_slot(), kMaxSlot + 1);
  EXPECT_EQ(t.transcript(),
            "甲使用了召唤棋子，场上出现了一个棋子\n[p700]"
            "丙使用了生化攻击，把死去的乙变成了一只丧尸\n[p700]"
            "tessik使用了黑魔王的威信，召唤了三个黑巫师！\n"
            "Halvic使用了爬行者刷怪蛋，召唤了一个爬行者！\n[p500]"
            "指挥官使用了请求支援，一队8人的战斗小队随即到达！\n[p700]"
            "富兰克林使用了呼叫队友，麦克和崔佛到达战场！\n"
            "作者使用了召唤手下，叫来了一个属性为1的敌人！\n[p500]");
}

}  // namespace
}  // namespace morvane
