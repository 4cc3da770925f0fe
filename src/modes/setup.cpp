#include "modes/setup.hpp"

#include <algorithm>
#include <utility>

#include "model/wrap.hpp"

namespace morvane {

void create_fighter(Game& g, const std::string& name, std::int32_t team, std::int32_t mode,
                    Position position) {
  add_fighter(g, [&](rw& x) {
    x.name = name;
    x.team = team;
    draw_base_stats(g, x);
    x.zt = 0;
    x.sx = g.rand() % 8 + 1;
    x.cs = 1;
    // The dark match: the attribute is still drawn, then overwritten.
    if (mode == 2) {
      x.sx = 7;
      x.cs = 4;
    }
    apply_named_character(g, x, position);
    x.maxhp = x.hp;
    x.oy = 1;
    x.flag = false;
  });
}

void add_team(Game& g, std::int32_t team, std::string line, std::int32_t mode) {
  g.s = std::move(line);
  for (char byte : g.s) {
    if (byte == '/') {
      create_fighter(g, g.p, team, mode, Position::Inner);
      g.p.clear();
    } else {
      g.p += byte;
    }
  }
  // The line's last name is made even when it is empty (a line ending in '/').
  create_fighter(g, g.p, team, mode, Position::Closing);
  g.p.clear();
}

void dark_match(Game& g) {
  for (std::int32_t i = 1; i < g.rs; ++i) {
    g.a[i].hp = wmul(g.a[i].hp, 50);
    g.a[i].maxhp = wmul(g.a[i].maxhp, 50);
    g.a[i].cs = 4;
  }
  // The curse on every turn, the bouncing blade never.
  g.jncxgl[6][0] = 0;
  g.jncxgl[6][1] = 100;
}

void team_setup(Game& g, std::int32_t mode) {
  g.con.clear();
  say(g, "请输入队伍总数(可以一人一队但绝对不可以空队):");
  // The roster has room for 1004 fighters, so there can be no more teams than that.
  g.n = std::min(g.con.read_number(), kMaxSlot);
  say(g, "接下来输入每队的人物名字(P.S不可以重名哦)");
  endl(g);
  for (std::int32_t i = 1; i <= g.n; ++i) {
    say(g, "现在请输入第", i, "队的人物名字，名字之间用英文输入法的/隔开，结尾不用输/");
    endl(g);
    add_team(g, i, g.con.read_word(), mode);
  }
  if (mode == 2) dark_match(g);
}

void stat_table(Game& g) {
  say(g, "下面的数值分别代表名字，血量，攻击，防御，魔力，属性，队伍");
  endl(g);
  for (std::int32_t i = 1; i < g.rs; ++i) {
    const rw& x = g.a[i];
    say(g, x.name, " ", x.hp, " ", x.atk, " ", x.def, " ", x.ml, " ", x.sx, " ", x.team);
    endl(g);
    pause(g, 50);
  }
}

}  // namespace morvane
