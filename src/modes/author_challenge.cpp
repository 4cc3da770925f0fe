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
  for (std::int32_t i = 1; i <= 3; ++i) {
    say(g, "输入第", i, "个挑战者的属性");
    const std::int32_t chosen = read_attribute(g);
    g.roster.add([&](Fighter& x) {
      const Stats drawn{g.rand() % 200 + 500, g.rand() % 50 + 100, g.rand() % 50 + 50,
                        g.rand() % 50 + 80};
      enlist(x, {.name = "挑战者",
                 .team = 1,
                 .stats = drawn,
                 .attribute = chosen,
                 .curse_stacks = 1,
                 .ultimate_level = 1});
    });
  }
  g.roster.add([](Fighter& x) {
    enlist(x, {.name = "作者",
               .team = 2,
               .stats = {kInt32Max, 200, 300, 200},
               .attribute = attribute::kAuthor,
               .curse_stacks = 1,
               .ultimate_level = 1});
  });
  stat_table(g);
  pause(g, 1000);
  game_over(g, run_battle(g));
}

}  // namespace morvane
