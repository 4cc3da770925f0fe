#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <utility>

#include "model/random.hpp"
#include "modes/modes.hpp"
#include "support/recording_console.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

struct SkillsSeen : CastListener {
  void cast(std::int32_t, std::int32_t ms, int skill) override { seen.insert({ms, skill}); }
  std::set<std::pair<std::int32_t, int>> seen;
};

// Whole team matches of every named character against each other: between them these games see
// every skill of attributes 9 to 24 cast, soldiers, creepers and 富兰克林's crew included.
TEST(NamedCasts, WholeMatchesCastEverySkillOfTheNamedAttributesAndNameTheirWinner) {
  SkillsSeen skills;
  for (std::uint32_t seed : {1919u, 8585u, 12943u}) {
    RecordingConsole console(
        "1\n2\ntessik/Varqueb/Prane/Halvic/vmrqtoa4817/w_k\n"
        "杰哥/指挥官/mossu_ka/富兰克林/麦克/崔佛\n");
    Lcg random(seed);
    auto g = std::make_unique<Game>(console, random);
    g->on_cast = &skills;
    play_game(*g);
    std::int32_t winner = 0;
    for (std::int32_t i = 1; i < g->roster.next_slot(); ++i) {
      if (g->roster[i].hp <= 0) continue;
      if (winner == 0) winner = g->roster[i].team;
      EXPECT_EQ(g->roster[i].team, winner) << "seed " << seed << ": two teams still standing";
    }
    EXPECT_TRUE(console.transcript().ends_with("胜利的是第" + std::to_string(winner) +
                                               "队\n如果想再来请重新运行程序"))
        << "seed " << seed;
  }
  for (std::int32_t attribute = 9; attribute <= 24; ++attribute) {
    // The creeper's thresholds are both 0, so its first skill test always passes.
    for (int skill : attribute == 13 ? std::set{0} : std::set{0, 1})
      EXPECT_TRUE(skills.seen.count({attribute, skill}))
          << "attribute " << attribute << " skill " << skill;
  }
}

}  // namespace
}  // namespace morvane
