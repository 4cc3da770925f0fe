#include <cstddef>
#include <utility>

#include "battle/round.hpp"
#include "model/wrap.hpp"
#include "modes/modes.hpp"

namespace morvane {
namespace {

void player_stats(Game& g) {
  const rw& me = g.a[1];
  say(g, me.hp, " ", me.atk, " ", me.def, " ", me.ml, " ", me.sx);
  endl(g);
}

// Level L brings L enemies whose four values grow by 10 per level. They never cast an ultimate
// (ultimate level 0). An enemy that would not fit in the roster is not made.
void make_enemies(Game& g, std::int32_t level) {
  const std::int32_t step = wmul(level, 10);
  for (std::int32_t i = 1; i <= level; ++i) {
    add_fighter(g, [&](rw& x) {
      x.name = "敌人";
      x.team = 2;
      x.hp = wadd(g.rand() % 250 + 140, step);
      x.atk = wadd(g.rand() % 50 + 40, step);
      x.def = wadd(g.rand() % 30 + 10, step);
      x.ml = wadd(g.rand() % 80 + 10, step);
      x.zt = 0;
      x.maxhp = x.hp;
      x.sx = g.rand() % 7 + 1;
      x.cs = 1;
      x.oy = 0;
      x.flag = false;
      say(g, "生成了血量为", x.hp, "，属性为", x.sx, "的敌人！");
      endl(g);
      pause(g, 100);
    });
  }
}

// The upgrade menu after a won level, and the choice applied to the player's fighter.
void upgrade(Game& g, std::int32_t level) {
  rw& me = g.a[1];
  const std::int32_t step = wmul(level, 10);
  // The skill tables have no row for attribute 0, so its two skill items are left out.
  const bool skills = has_skill_row(me.sx);
  say(g, "1.增加血量上限至", wadd(me.maxhp, step), "且回满血量");
  endl(g);
  say(g, "2.增加攻击力至", wadd(me.atk, step));
  endl(g);
  say(g, "3.增加防御力至", wadd(me.def, step));
  endl(g);
  say(g, "4.增加魔力至", wadd(me.ml, step));
  endl(g);
  if (skills) {
    for (int k = 0; k < 2; ++k) {
      say(g, 5 + k, ".增加", skill_name(g, me.sx, k), "的出现概率至",
          wadd(wsub(100, skill_threshold(g, me.sx, k)), level), "%");
      endl(g);
    }
  }
  say(g, "7.随机抽取一个属性(可能会很强也可能会弱到爆炸)");
  endl(g);
  say(g, "其他.放弃");
  endl(g);

  const std::int32_t cnt = g.con.read_number();  // the chosen upgrade
  if (cnt == 1) {
    me.maxhp = wadd(me.maxhp, step);
    me.hp = me.maxhp;
  } else if (cnt == 2) {
    me.atk = wadd(me.atk, step);
  } else if (cnt == 3) {
    me.def = wadd(me.def, step);
  } else if (cnt == 4) {
    me.ml = wadd(me.ml, step);
  } else if ((cnt == 5 || cnt == 6) && skills) {
    // The thresholds belong to the attribute: the enemies of it gain as much as the player.
    std::int32_t& threshold =
        g.jncxgl[static_cast<std::size_t>(me.sx - 1)][static_cast<std::size_t>(cnt - 5)];
    threshold = wsub(threshold, level);
  } else if (cnt == 7) {
    me.sx = g.rand() % 24 + 1;
    say(g, "你现在的属性是", me.sx);
    endl(g);
  } else {
    say(g, "你选择放弃。");
    endl(g);
  }
}

// Team 1 moves to the front in its old order, dead or alive; the enemies fall behind rs.
void compact(Game& g) {
  std::int32_t c = 2;
  for (std::int32_t i = 2; i < g.rs; ++i) {
    if (g.a[i].team == 1) {
      if (i != c) std::swap(g.a[i], g.a[c]);
      ++c;
    }
  }
  g.rs = c;
}

}  // namespace

void endless(Game& g) {
  say(g, "你需要什么属性？(1~8分别为: 1火,2水,3电,4地,5冰,6疗,7黑,8召)");
  endl(g);
  const std::int32_t sx = read_attribute(g);
  pause(g, 500);
  add_fighter(g, [&](rw& me) {
    me.sx = sx;
    me.name = "你";
    me.team = 1;
    me.hp = g.rand() % 250 + 250;
    me.atk = g.rand() % 50 + 50;
    me.def = g.rand() % 30 + 20;
    me.ml = g.rand() % 80 + 20;
    me.maxhp = me.hp;
    me.zt = 0;
    me.cs = 1;
    me.oy = 1;
    me.flag = false;
  });
  g.n = 2;
  say(g, "你的其他属性初始化完毕");
  endl(g);
  say(g, "下面的数值分别代表你的血量，攻击，防御，魔力，属性");
  endl(g);
  player_stats(g);
  pause(g, 2000);

  std::int32_t level = 1;
  while (g.a[1].hp > 0) {
    g.con.clear();
    g.a[1].zt = 0;
    say(g, "战斗开始");
    endl(g);
    const std::int32_t first_enemy = g.rs;
    make_enemies(g, level);
    // With no enemy at all the level would be won at once, again and again: the player's summons
    // have filled the roster, and the run ends here.
    const bool fought = g.rs > first_enemy;
    bool cut = false;  // only a batch run's round budget cuts a battle
    if (fought) {
      pause(g, 100);
      cut = !game(g);
      pause(g, 500);
    }
    if (fought && !cut && g.a[1].hp > 0) {
      say(g, "你通过了第", level, "关");
      endl(g);
      pause(g, 500);
      say(g, "你目前的血量，攻击，防御，魔力，属性:");
      endl(g);
      player_stats(g);
      pause(g, 1000);
      say(g, "你可以选择一个加成");
      endl(g);
      pause(g, 300);
      upgrade(g, level);
      pause(g, 500);
      say(g, "下面的数值分别代表你的血量，攻击，防御，魔力，属性");
      endl(g);
      player_stats(g);
      pause(g, 1000);
      ++level;
      compact(g);
      endl(g);
      say(g, "即将开始第", level, "波攻击...");
      pause(g, 1000);
    } else {
      say(g, "你最后挑战到第", level, "关！");
      endl(g);
      pause(g, 1000);
      say(g, "如果想再来请重新运行程序");
      pause(g, 1000);
      break;
    }
  }
}

}  // namespace morvane
