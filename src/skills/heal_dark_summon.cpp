// Healing, the dark curses, and the summoner's chess pieces and zombies.

#include "model/wrap.hpp"
#include "skills/branches.hpp"

namespace morvane {

void healing(Cast& c, int jnbh) {
  Game& g = c.g;
  if (jnbh == 0) {  // 治疗
    // The weakest living ally under 1000, the later slot on a tie; else the driver's target.
    std::int32_t lowest = 1000;
    for (std::int32_t i = 1; i < g.rs; ++i) {
      if (c.living(i) && c.ally(i) && g.a[i].hp <= lowest) {
        lowest = g.a[i].hp;
        c.beat = i;
      }
    }
    // The one who last cried for cover is served first.
    const std::int32_t protect = g.b[c.caster().team].protect;
    if (g.rand() % 100 > 29 && g.a[protect].hp > 0) c.beat = protect;
    color(g, 2);
    g.a[c.beat].hp = wadd(g.a[c.beat].hp, c.mlz);
    say(g, "回复了", g.a[c.beat].name, "的", c.mlz, "点血");
    endl(g);
    pause(g, 700);
    return;
  }
  // 吸血: drain the healthiest enemy, the later slot on a tie.
  std::int32_t highest = -1000;
  c.sweep([&](std::int32_t i) {
    if (g.a[i].hp >= highest) {
      highest = g.a[i].hp;
      c.beat = i;
    }
  });
  c.ratk = wsub(c.mlz, g.rand() % 30);
  c.hit(c.beat, c.ratk);
  pause(g, 350);
  // The caster drinks whatever the blow did; a weak drain costs it blood.
  const std::int32_t gain = wsub(c.ratk, 10);
  c.caster().hp = wadd(c.caster().hp, gain);
  color(g, 2);
  say(g, "             回复了自己的", gain, "点血");
  endl(g);
  pause(g, 350);
}

namespace {

// 阿瓦达索命: about 100 per stack on the weakest enemy; each kill adds a stack, and at four the
// curse strikes down the healthiest enemy outright.
void killing_curse(Cast& c) {
  Game& g = c.g;
  std::int32_t lowest = 1000;
  std::int32_t highest = -100;
  std::int32_t bebeat = 0;  // the healthiest living enemy; 0 when there is none
  c.sweep([&](std::int32_t i) {
    if (g.a[i].hp <= lowest) {
      lowest = g.a[i].hp;
      c.beat = i;
    }
    if (g.a[i].hp >= highest) {
      highest = g.a[i].hp;
      bebeat = i;
    }
  });
  rw& me = c.caster();
  if (me.cs <= 3) {
    c.ratk = wadd(wmul(me.cs, 100), g.a[c.beat].def);
    say(g, "他的魔咒射向了", g.a[c.beat].name, ",");
    c.hit(c.beat, c.ratk);
    if (!c.living(c.beat)) {
      pause(g, 500);
      say(g, g.a[c.beat].name, "的死给", me.name, "的阿瓦达索命叠加了层数");
      endl(g);
      me.cs = wadd(me.cs, 1);
      if (me.cs > 3) {
        say(g, me.name, "的阿瓦达索命已经满层，接下来将秒杀一切");
        endl(g);
      }
    }
    pause(g, 700);
    return;
  }
  if (bebeat == 0) {
    // Every enemy has fallen already this round: the curse has no one to strike.
    c.miss_line();
    pause(g, 700);
    return;
  }
  c.ratk = g.rand() % 5000 + 5000;
  say(g, "由于层数叠满，直接秒杀");
  endl(g);
  c.hit(bebeat, c.ratk);
  pause(g, 700);
}

// 神锋无影: a blade that bounces between enemies, losing a tenth at each bounce.
void shadow_blade(Cast& c) {
  Game& g = c.g;
  std::int32_t num = 0;  // failed draws in this cast, at most 3
  std::int32_t bekn = 0;
  c.ratk = wadd(wmul(2, c.mlz), g.rand() % 60);
  for (std::int32_t k = 1; k <= 3; ++k) {
    if (!c.living(c.beat)) continue;
    if (k != 1) c.indent();
    c.hit(c.beat, c.ratk);
    bekn = c.draw_enemy(num, 3, c.beat, bekn);
    // No enemy was found to bounce to (unless the last slot drawn is the target itself).
    if (c.beat != bekn) return;
    c.ratk = (c.ratk / 10) * 9;
    pause(g, 500);
  }
}

}  // namespace

void dark(Cast& c, int jnbh) {
  color(c.g, 3);
  if (jnbh == 0) {
    killing_curse(c);
  } else {
    shadow_blade(c);
  }
}

void summoning(Cast& c, int jnbh) {
  Game& g = c.g;
  const std::int32_t team = c.caster().team;

  if (jnbh == 0) {  // 召唤棋子
    say(g, "场上出现了一个棋子");
    endl(g);
    c.summon([&](rw& x) {
      x.name = "棋子";
      x.hp = 100;
      x.atk = 50;
      x.def = 50;
      x.ml = 0;
      x.zt = 0;
      x.sx = 0;
      x.cs = 0;
      x.team = team;
      c.ultimate_scale(x, {&rw::hp, &rw::atk, &rw::def});
      x.maxhp = x.hp;
    });
    pause(g, 700);
    return;
  }

  // 生化攻击: a zombie rises from the corpse lowest in hit points, of either side.
  std::int32_t corpse = 0;
  std::int32_t lowest = 1000;
  for (std::int32_t i = 1; i < g.rs; ++i) {
    if (g.a[i].hp <= 0 && g.a[i].hp <= lowest) {
      lowest = g.a[i].hp;
      corpse = i;
    }
  }
  if (corpse == 0) {
    say(g, "但是失败了");
    endl(g);
    pause(g, 700);
    return;
  }
  c.beat = corpse;
  say(g, "把死去的", g.a[corpse].name, "变成了一只丧尸");
  endl(g);
  const bool risen = c.summon([&](rw& x) {
    x.name = "丧尸";
    x.hp = g.rand() % 100 + 150;
    x.atk = g.rand() % 85;
    x.def = g.rand() % 30 + 20;
    x.ml = 0;
    x.zt = 0;
    x.sx = 0;
    x.cs = 0;
    x.team = team;
    c.ultimate_scale(x, {&rw::hp, &rw::atk, &rw::def});
  });
  if (risen) {
    rw& zombie = g.a[g.rs - 1];
    if (g.rand() % 100 > 69) {
      color(g, 3);
      say(g, "丧尸 黑化 了，变成了一只黑魔法丧尸");
      endl(g);
      zombie.name = "黑魔法丧尸";
      zombie.sx = 7;
      pause(g, 500);
    }
    zombie.maxhp = zombie.hp;
  }
  pause(g, 700);
}

}  // namespace morvane
