#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "modes/round.hpp"
#include "support/draws.hpp"
#include "support/recording_console.hpp"
#include "support/scripted_random.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// Marks the two hooks in the transcript, where the narration around them shows.
class HookConsole final : public RecordingConsole {
 public:
  void battle_begins() override { write("<begin>"); }
  void battle_ends() override { write("<end>"); }
};

TEST(BattleHooks, EnclosePreciselyTheBattleWhetherItIsWonOrADraw) {
  HookConsole console;
  ScriptedRandom random;
  auto g = std::make_unique<Game>(console, random);
  g->counted_teams = 2;
  for (std::int32_t team : {1, 2}) {
    g->roster.add([&](Fighter& x) {
      x.name = team == 1 ? "甲" : "乙";
      x.team = team;
      x.hp = x.max_hp = 300;
    });
  }
  // Won before any turn: only one team has anyone standing.
  g->roster.set_hp(2, 0);
  EXPECT_TRUE(run_battle(*g));
  EXPECT_EQ(console.transcript(), "<begin><end>");
  EXPECT_EQ(g->round_count, 1);  // not a round played

  // Ended by the round cap after one round of two blows that no one feels (no attack).
  console.forget();
  g->roster.set_hp(2, 300);
  g->options.max_rounds = 1;
  random.script(Draws{/*strategy*/ 0, /*focus*/ 0}.absorbed().then({0, 0}).absorbed().values());
  EXPECT_FALSE(run_battle(*g));
  EXPECT_TRUE(console.transcript().starts_with("<begin>甲发动攻击，")) << console.transcript();
  EXPECT_TRUE(console.transcript().ends_with("战斗超过1回合仍未分出胜负，判为平局\n<end>"))
      << console.transcript();
}

}  // namespace
}  // namespace morvane
