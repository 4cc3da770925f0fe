#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "model/roster.hpp"
#include "modes/modes.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

namespace morvane {

void author_challenge(Game& g) {
  line(g, "请输入三个挑战者的属性。");
  pause(g, 500);
  g.counted_teams = 4;
  constexpr StatRanges kChallengerRanges{200, 500, 50, 100, 50, 50, 50, 80};
  for (std::int32_t i = 1; i <= 3; ++i) {
    say(g, "输入第", i, "个挑战者的属性");
    const std::int32_t chosen = read_attribute(g);
    g.roster.add([&](Fighter& x) {
      enlist(x, fresh_recruit("挑战者", 1, kChallengerRanges.draw(g), chosen));
    });
  }
  g.roster.add([](Fighter& x) {
    enlist(x, fresh_recruit("作者", 2, {kInt32Max, 200, 300, 200}, attribute::kAuthor));
  });
  stat_table(g);
  pause(g, 1000);
  game_over(g, run_battle(g));
}

}  // namespace morvane
