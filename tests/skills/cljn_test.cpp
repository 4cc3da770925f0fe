#include "skills/cast.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

struct OrdinarySkill {
  std::int32_t sx;
  int jnbh;
  std::string name;
  std::string colour_after_banner;  // "" when the branch writes in the turn's colour
  Draws draws;                      // after the ultimate roll
};

TEST(Cast, EveryAttributeFromOneToEightCastsBothOfItsSkillsInItsOwnColour) {
  // Every blow here is dodged.
  const Draws dodged = Draws().dodged(), bounce = Draws().dodged().then({/*乙 again*/ 1});
  const std::vector<OrdinarySkill> skills = {
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
  for (const OrdinarySkill& s : skills) {
    SCOPED_TRACE(std::to_string(s.sx) + "/" + std::to_string(s.jnbh));
    Scenario t;
    t.console.show_colors = true;
    t.fighter("甲", 1).sx(s.sx).ml(0).cs(0);
    t.fighter("乙", 2);
    const std::string out = t.cast(Draws{999}.then(s.draws), 1, s.jnbh, 2);
    const std::string banner = "甲使用了" + s.name + "，";
    ASSERT_EQ(out.substr(0, banner.size() + s.colour_after_banner.size()),
              banner + s.colour_after_banner);
    if (s.colour_after_banner.empty()) {
      EXPECT_NE(out.at(banner.size()), '[');
    }
  }
}

// Attributes 25 ... 32 have no branch: their cast is the banner alone, the line left open.
TEST(Cast, TheUltimateRollIsBelowOneHundredPerLevelAndAttributesWithoutSkillsWriteOnlyTheBanner) {
  struct Roll {
    std::int32_t oy, draw;
    bool ultimate;
  };
  const std::vector<Roll> rolls = {{0, 0, false},   {1, 99, true},    {1, 100, false},
                                   {1, 1099, true}, {3, 299, true},   {3, 300, false},
                                   {10, 999, true}, {15, 32767, true}};
  for (std::int32_t sx = 25; sx <= 32; ++sx) {
    const Roll& r = rolls[static_cast<std::size_t>(sx - 25)];
    SCOPED_TRACE(std::to_string(r.oy) + " " + std::to_string(r.draw));
    Scenario t;
    t.fighter("甲", 1).sx(sx).oy(r.oy);
    t.fighter("乙", 2);
    EXPECT_EQ(t.cast({r.draw}, 1, sx % 2, 2), r.ultimate ? "甲使用了 奥义·，" : "甲使用了，");
    EXPECT_EQ(t.g.a[1].oy, r.oy + (r.ultimate ? 1 : 0));
    EXPECT_FALSE(t.g.a[1].flag);
  }
}

TEST(Cast, AFirstUltimateDoublesEveryHitAndEndsWithTheCastHoweverItEnds) {
  Scenario t;
  t.fighter("甲", 1).sx(3);
  t.fighter("乙", 2).hp(1000);
  // Ultimate, 4 strikes of 50 (magic 50 plus the target's defence 0), all quiet.
  t.cast(Draws{0, 0}.then(Draws().lands(), 4), 1, 0, 2);
  EXPECT_EQ(t.g.a[2].hp, 600);
  EXPECT_EQ(t.g.a[1].oy, 2);
  EXPECT_FALSE(t.g.a[1].flag);

  t.g.a[1].sx = 8;
  t.cast({/*ultimate*/ 199}, 1, 1, 2);  // no corpse to raise: the cast ends early
  EXPECT_EQ(t.g.a[1].oy, 3);
  EXPECT_FALSE(t.g.a[1].flag);
}

}  // namespace
}  // namespace morvane
