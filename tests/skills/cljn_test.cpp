#include "skills/cast.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

struct HeardCasts final : CastListener {
  std::vector<std::tuple<std::int32_t, std::int32_t, int>> casts;
  void cast(std::int32_t ater, std::int32_t ms, int jnbh) override {
    casts.emplace_back(ater, ms, jnbh);
  }
};

// Every blow here is dodged: spread 0, no opening call, a dodging draw.
const std::vector<std::int32_t> kDodged = {0, 0, 900};

std::vector<std::int32_t> repeat(std::vector<std::int32_t> piece, int times,
                                 std::vector<std::int32_t> head = {}) {
  for (int i = 0; i < times; ++i)
    head.insert(head.end(), piece.begin(), piece.end());
  return head;
}

struct OrdinarySkill {
  std::int32_t sx;
  int jnbh;
  std::string colour_after_banner;  // "" when the branch writes in the turn's colour
  std::vector<std::int32_t> draws;  // after the ultimate roll
};

TEST(Cast, EachOrdinaryAttributeCastsBothOfItsSkillsUnderTheirNames) {
  std::vector<std::int32_t> bounce = kDodged;
  bounce.push_back(/*乙 again*/ 1);
  const std::vector<OrdinarySkill> skills = {
      {1, 0, "[c4]", repeat(kDodged, 1, {0})},
      {1, 1, "[c4]", {/*乙 not scorched*/ 0}},
      {2, 0, "[c1]", {/*乙 not swept*/ 0}},
      {2, 1, "[c1]", {0, /*imprisoned, no dodge*/ 0, 0, 900, 0}},
      {3, 0, "[c5]", repeat(kDodged, 4, {/*4 strikes*/ 0})},
      {3, 1, "[c5]", repeat(bounce, 5)},
      {4, 0, "[c6]", repeat(kDodged, 3, {/*3 strikes*/ 0})},
      {4, 1, "[c6]", kDodged},
      {5, 0, "", repeat(kDodged, 1, {0})},
      {5, 1, "", repeat(kDodged, 1, {0})},
      {6, 0, "[c2]", {/*no cover redirect*/ 0}},
      {6, 1, "", repeat(kDodged, 1, {0})},
      {7, 0, "[c3]", kDodged},
      {7, 1, "[c3]", repeat(bounce, 3, {0})},
      {8, 0, "", {}},
      {8, 1, "", {}},
  };
  for (const OrdinarySkill& s : skills) {
    SCOPED_TRACE(std::to_string(s.sx) + "/" + std::to_string(s.jnbh));
    Scenario t;
    HeardCasts heard;
    t.g.on_cast = &heard;
    t.console.show_colors = true;
    t.fighter("甲", 1).sx(s.sx).ml(0).cs(0);
    t.fighter("乙", 2);
    t.random.script(repeat(s.draws, 1, {/*no ultimate*/ 999}));
    cljn(t.g, 1, s.jnbh, 2);
    t.random.expect_all_taken();
    const std::string banner = "甲使用了" + std::string(skill_name(t.g, s.sx, s.jnbh)) + "，";
    const std::string& out = t.transcript();
    ASSERT_EQ(out.substr(0, banner.size() + s.colour_after_banner.size()),
              banner + s.colour_after_banner);
    if (s.colour_after_banner.empty()) {
      EXPECT_NE(out.at(banner.size()), '[');
    }
    EXPECT_EQ(heard.casts, (decltype(heard.casts){{1, s.sx, s.jnbh}}));
  }
}

TEST(Cast, TheUltimateRollIsADrawBelowOneHundredPerUltimateLevel) {
  struct Roll {
    std::int32_t oy, draw;
    bool ultimate;
  };
  for (const Roll r :
       {Roll{0, 0, false}, Roll{1, 99, true}, Roll{1, 100, false}, Roll{1, 1099, true},
        Roll{3, 299, true}, Roll{3, 300, false}, Roll{10, 999, true}, Roll{15, 32767, true}}) {
    SCOPED_TRACE(std::to_string(r.oy) + " " + std::to_string(r.draw));
    Scenario t;
    t.fighter("甲", 1).sx(25).oy(r.oy);
    t.fighter("乙", 2);
    t.draws({r.draw});
    cljn(t.g, 1, 0, 2);
    EXPECT_EQ(t.transcript(), r.ultimate ? "甲使用了 奥义·，" : "甲使用了，");
    EXPECT_EQ(t.g.a[1].oy, r.oy + (r.ultimate ? 1 : 0));
    EXPECT_FALSE(t.g.a[1].flag);
  }
}

TEST(Cast, AttributesWithoutSkillsWriteTheBannerAloneAndLeaveTheLineOpen) {
  for (std::int32_t sx = 25; sx <= 32; ++sx) {
    Scenario t;
    t.fighter("甲", 1).sx(sx);
    t.fighter("乙", 2);
    t.draws({/*no ultimate*/ 999});
    cljn(t.g, 1, sx % 2, 2);
    EXPECT_EQ(t.transcript(), "甲使用了，");
    EXPECT_EQ(t.g.a[2].hp, 300);
  }
}

TEST(Cast, AFirstUltimateDoublesEveryHitOfTheCast) {
  Scenario t;
  t.fighter("甲", 1).sx(3);
  t.fighter("乙", 2).hp(1000);
  // Ultimate, 4 strikes of 50 (magic 50 plus the target's defence 0), all quiet.
  t.draws({0, 0});
  t.random.script(repeat({20, 0, 0, 0, 0, 0}, 4));
  cljn(t.g, 1, 0, 2);
  const std::string line = "乙掉了100点血\n";
  const std::string indent(17, ' ');
  EXPECT_EQ(t.transcript(),
            "甲使用了 奥义·闪电风暴，" + line + indent + line + indent + line + indent + line);
  EXPECT_EQ(t.g.a[2].hp, 600);
  EXPECT_EQ(t.g.a[1].oy, 2);
  EXPECT_FALSE(t.g.a[1].flag);
}

TEST(Cast, AnUltimateEndsWithTheCastEvenWhenTheBranchEndsEarly) {
  Scenario t;
  t.fighter("甲", 1).sx(8);
  t.fighter("乙", 2).hp(1000);
  t.draws({/*ultimate*/ 0});
  cljn(t.g, 1, 1, 2);  // no corpse to raise
  EXPECT_EQ(t.transcript(), "甲使用了 奥义·生化攻击，但是失败了\n");
  EXPECT_FALSE(t.g.a[1].flag);

  // The blade finds nobody to bounce to after its first strike: 甲 drawn three times.
  t.g.a[1].sx = 7;
  t.draws({0, /*blade*/ 0, 20, 0, 0, 0, 0, 0, 0, 0, 0});
  cljn(t.g, 1, 1, 2);
  EXPECT_FALSE(t.g.a[1].flag);
  EXPECT_EQ(t.g.a[1].oy, 3);
  t.console.forget();
  t.draws({/*spread*/ 20, 0, 0, 0, 0, 0});
  attack(t.g, 1, 2, 60);
  EXPECT_EQ(t.transcript(), "乙掉了60点血\n");
}

}  // namespace
}  // namespace morvane
