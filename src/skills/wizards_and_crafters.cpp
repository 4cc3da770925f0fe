// tessik and Varqueb, the dark wizards; Prane and Halvic, the crafters, and Halvic's creeper.

#include "battle/checks.hpp"
#include "model/wrap.hpp"
#include "skills/branches.hpp"

namespace morvane {

void tessik(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 3);
  rw& me = c.caster();
  if (jnbh == 0) {  // 黑魔王的威信: three black wizards with a typed fighter's values
    say(g, "召唤了三个黑巫师！");
    endl(g);
    for (int k = 0; k < 3; ++k) {
      c.summon([&](rw& x) {
        x.name = "黑巫师";
        draw_base_stats(g, x);
        c.ultimate_scale(x, {&rw::hp, &rw::atk, &rw::def, &rw::ml});
        x.zt = 0;
        x.sx = 7;
        x.cs = 1;
        x.team = me.team;
        x.maxhp = x.hp;
      });
    }
    return;
  }
  // 龙骨碎: one great blow, or a spray of fragments over the first enemies and a final blow.
  const std::int32_t enemies = checklivings(g, c.ater);
  if (enemies == 0) {
    c.miss_line();
    return;
  }
  c.cnt = g.rand() % enemies + 1;
  if (c.cnt == 1 || checklivings(g, c.ater) == 1) {
    say(g, "tessik用龙骨碎全力劈砍下去...");
    endl(g);
    c.hit(c.beat, wmul(me.atk, 3));
    pause(g, 700);
    return;
  }
  say(g, "龙骨碎裂开，然后朝着敌人飞散出去...");
  endl(g);
  for (std::int32_t i = 1; i < c.cnt; ++i) {
    if (c.ally(i) || !c.living(i)) {
      ++c.cnt;  // the walk reaches one slot further
      continue;
    }
    say(g, "碎片贯穿了", g.a[i].name, "的身体...");
    endl(g);
    c.hit(i, wmul(me.atk / 3, 2));
    pause(g, 400);
  }
  // The final blow falls on the slot where the walk stopped, whoever stands there.
  say(g, "tessik收起龙骨碎，然后朝着", g.a[c.cnt].name, "砍了下去...");
  endl(g);
  c.hit(c.cnt, wmul(me.atk, 2));
  pause(g, 700);
}

void varqueb(Cast& c, int jnbh) {
  Game& g = c.g;
  c.cnt = 0;
  color(g, 3);
  rw& me = c.caster();
  if (jnbh == 0) {  // 阿瓦达狂潮: five curses that pierce every enemy they meet
    say(g, "放出了五个穿透性的阿瓦达！");
    endl(g);
    for (std::int32_t x = 1; x <= 5; ++x) {
      say(g, "他放出了第", x, "个阿瓦达...");
      endl(g);
      c.sweep([&](std::int32_t i) {
        if (g.rand() % 50 <= 24) return;
        say(g, "阿瓦达贯穿了", g.a[i].name, "..");
        endl(g);
        c.ratk = wadd(wmul(2, me.atk), wmul(3, me.ml));
        ++c.cnt;
        c.hit(i, c.ratk);
        pause(g, 300);
      });
      // cnt counts the whole cast: once a curse has hit, a later miss goes unremarked.
      if (c.cnt == 0) c.miss_line();
      endl(g);
      pause(g, 800);
    }
    return;
  }
  // 钻心剜骨: the torment takes hold whatever the blow did.
  say(g, "钻心咒击中了", g.a[c.beat].name, "!");
  endl(g);
  c.hit(c.beat, wmul(2, me.def));
  g.a[c.beat].zt = 15;
}

void prane(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 2);
  rw& me = c.caster();
  if (jnbh == 0) {  // TNT: friends with their defence + 50, foes with their own strength
    say(g, "往人群中心丢出了一个TNT！");
    endl(g);
    for (std::int32_t i = 1; i < g.rs; ++i) {
      if (!c.living(i)) continue;
      if (c.ally(i)) {
        c.hit(i, wadd(g.a[i].def, 50));
      } else {
        c.hit(i, wadd(g.a[i].def, g.a[i].atk));
      }
      pause(g, 50);
    }
    endl(g);
    pause(g, 800);
    return;
  }
  // The netherite axe: each lucky cast sharpens it for good (x3, then /2).
  say(g, "他举起了下界合金斧...");
  endl(g);
  if (g.rand() % 100 > 49) {
    say(g, "嘣！下界合金斧多了一层锋利！");
    endl(g);
    pause(g, 300);
    say(g, me.name, "的攻击力提升了！");
    endl(g);
    pause(g, 300);
    me.atk = wmuldiv(me.atk, 3, 2);
  }
  c.ratk = wmul(2, me.atk);
  c.hit(c.beat, wadd(c.ratk, g.a[c.beat].def));
}

void halvic(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 1);
  rw& me = c.caster();
  if (jnbh == 0) {  // 爬行者刷怪蛋
    say(g, "召唤了一个爬行者！");
    endl(g);
    c.summon([&](rw& x) {
      x.name = "爬行者";
      x.sx = 13;
      x.hp = 300;
      x.maxhp = 300;
      c.ultimate_scale(x, {&rw::hp});
      x.team = me.team;
    });
    pause(g, 500);
    return;
  }
  // Prane的激励: from the next turn on the caster fights as Prane.
  say(g, "他学会了Prane的所有技能！");
  endl(g);
  me.sx = 11;
  pause(g, 500);
}

void creeper(Cast& c, int) {
  Game& g = c.g;
  color(g, 2);
  say(g, "它爬到了", g.a[c.beat].name, "的身旁...");
  endl(g);
  say(g, "轰！！！");
  endl(g);
  c.hit(c.beat, 1000);
  c.caster().hp = -1;
  say(g, "爬行者化为尘埃...");
  endl(g);
  pause(g, 500);
}

}  // namespace morvane
