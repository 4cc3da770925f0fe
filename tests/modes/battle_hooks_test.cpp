#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "modes/round.hpp"
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

TEST(BattleHooks, EnclosePreciselyTheBattleWhetherItIsWonOrCut) {
  HookConsole console;
  ScriptedRandom random;
  auto g = std::make_unique<Game>(console, random);
  g->n = 2;
  for (std::int32_t team : {1, 2}) {
    rw& x = g->a[g->rs++];
    x.name = team == 1 ? "甲" : "乙";
    x.team = team;
    x.hp = x.maxhp = 300;
  }
  // Cut before any turn: no draw, no narration, yet the battle was begun and ended.
  g->round_budget = 0;
  EXPECT_FALSE(game(*g));
  EXPECT_EQ(console.transcript(), "<begin><end>");

  // Won before any turn: only one team has anyone standing.
  console.forget();
  g->a[2].hp = 0;
  EXPECT_TRUE(game(*g));
  EXPECT_EQ(console.transcript(), "<begin><end>");
}

}  // namespace
}  // namespace morvane
