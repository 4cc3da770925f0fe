#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "modes/modes.hpp"
#include "support/recording_console.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// A whole challenge played with the game's own generator: the challengers' rows are worked out
// from the same seed, and the battle runs to its end.
TEST(AuthorChallenge, ChallengersAsTypedAgainstTheAuthorUntilOneTeamStands) {
  // 33 becomes 13; 34, -1 and x are passed over; the third read meets the end of input.
  RecordingConsole con("33\n34 -1 x 0\n");
  Lcg rng(20240601);
  auto g = std::make_unique<Game>(con, rng);
  author_challenge(*g);

  Lcg same(20240601);
  std::string rows;
  for (const int attribute : {13, 0, 0}) {
    const std::int32_t hp = same.next() % 200 + 500, atk = same.next() % 50 + 100;
    const std::int32_t def = same.next() % 50 + 50, magic = same.next() % 50 + 80;
    rows += "挑战者 " + std::to_string(hp) + " " + std::to_string(atk) + " " + std::to_string(def) +
            " " + std::to_string(magic) + " " + std::to_string(attribute) + " 1\n";
  }
  const std::string& text = con.transcript();
  EXPECT_TRUE(text.starts_with(
      "请输入三个挑战者的属性。\n输入第1个挑战者的属性输入第2个挑战者的属性输入第3个挑战者的属性"
      "下面的数值分别代表名字，血量，攻击，防御，魔力，属性，队伍\n" +
      rows + "作者 2147483647 200 300 200 33 2\n"))
      << text.substr(0, 600);
  EXPECT_EQ(text.find("战斗开始"), std::string::npos);
  EXPECT_EQ(g->roster[4].max_hp, 2147483647);  // the row shows only the hit points
  // With this seed the author's side wins.
  EXPECT_EQ(g->standing_per_team[1], 0);
  EXPECT_TRUE(text.ends_with("\n胜利的是第2队\n如果想再来请重新运行程序"))
      << text.substr(text.size() - 200);
}

}  // namespace
}  // namespace morvane
