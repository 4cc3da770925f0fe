#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "modes/modes.hpp"

namespace morvane {

void play_game(Game& g) {
  say(g, "欢迎来到Morvane！请按下任意键继续。");
  g.console.wait_key();
  g.console.clear();
  line(g, "你要玩那个模式？输入1或2或3 ");
  line(g, "1.正常模式 2.疯狂阿瓦达模式 3.无尽模式");
  line(g, "4.(限时开放)与作者的战斗");
  g.mode = g.console.read_number();
  const auto mode = static_cast<Mode>(g.mode);
  g.roster.set_next_slot(1);
  switch (mode) {
    case Mode::TeamMatch:
    case Mode::DarkMatch:
      team_match(g, mode);
      break;
    case Mode::Endless:
      endless(g);
      break;
    case Mode::AuthorChallenge:
      author_challenge(g);
      break;
    default:
      break;  // any other number ends the game quietly
  }
}

std::int32_t read_attribute(Game& g) {
  for (;;) {
    // At the end of input the read gives 0, which is taken.
    const std::int32_t typed = g.console.read_number();
    if (typed == attribute::kAuthor) return attribute::kCreeper;
    if (typed >= attribute::kNone && typed <= attribute::kAuthor) return typed;
  }
}

}  // namespace morvane
