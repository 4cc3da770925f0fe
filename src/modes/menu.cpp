#include "modes/modes.hpp"

namespace morvane {

void play(Game& g) {
  say(g, "欢迎来到Morvane！请按下任意键继续。");
  g.con.wait_key();
  g.con.clear();
  say(g, "你要玩那个模式？输入1或2或3 ");
  endl(g);
  say(g, "1.正常模式 2.疯狂阿瓦达模式 3.无尽模式");
  endl(g);
  say(g, "4.(限时开放)与作者的战斗");
  endl(g);
  const std::int32_t mmmsss = g.con.read_number();  // the mode number ("模式")
  g.rs = 1;
  // Any other number ends the game quietly.
  if (mmmsss == 1 || mmmsss == 2) team_match(g, mmmsss);
  if (mmmsss == 3) endless(g);
  if (mmmsss == 4) author_challenge(g);
}

std::int32_t read_attribute(Game& g) {
  for (;;) {
    // At the end of input the read gives 0, which is taken.
    const std::int32_t sx = g.con.read_number();
    if (sx == 33) return 13;
    if (sx >= 0 && sx <= 33) return sx;
  }
}

}  // namespace morvane
