#include "battle/round.hpp"
#include "modes/modes.hpp"
#include "modes/setup.hpp"

namespace morvane {

void author_challenge(Game& g) {
  say(g, "请输入三个挑战者的属性。");
  endl(g);
  pause(g, 500);
  g.n = 4;
  for (std::int32_t i = 1; i <= 3; ++i) {
    say(g, "输入第", i, "个挑战者的属性");
    const std::int32_t sx = read_attribute(g);
    add_fighter(g, [&](rw& x) {
      x.sx = sx;
      x.name = "挑战者";
      x.team = 1;
      x.hp = g.rand() % 200 + 500;
      x.atk = g.rand() % 50 + 100;
      x.def = g.rand() % 50 + 50;
      x.ml = g.rand() % 50 + 80;
      x.maxhp = x.hp;
      x.zt = 0;
      x.cs = 1;
      x.oy = 1;
      x.flag = false;
    });
  }
  add_fighter(g, [](rw& x) {
    x.sx = 33;
    x.name = "作者";
    x.team = 2;
    x.hp = 2147483647;
    x.atk = 200;
    x.def = 300;
    x.ml = 200;
    x.maxhp = x.hp;
    x.zt = 0;
    x.cs = 1;
    x.oy = 1;
    x.flag = false;
  });
  stat_table(g);
  pause(g, 1000);
  game(g);
  game_over(g);
}

}  // namespace morvane
