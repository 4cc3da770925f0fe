// Fire, water, electric, earth and ice.

#include "model/wrap.hpp"
#include "skills/branches.hpp"

namespace morvane {

void fire(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 4);
  if (jnbh == 0) {  // 火球术
    c.ratk = wsub(wadd(wmul(2, c.mlz), g.rand() % 40), 20);
    c.hit(c.beat, c.ratk);
    return;
  }
  // 火盾护身: heals every living ally, the caster too, and may scorch the enemies.
  c.cnt = 0;
  for (std::int32_t i = 1; i < g.rs; ++i) {
    color(g, 4);
    if (!c.living(i)) continue;
    if (c.ally(i)) {
      if (c.cnt != 0) c.indent();
      ++c.cnt;
      color(g, 2);
      g.a[i].hp = wadd(g.a[i].hp, c.mlz);
      say(g, "回复了", g.a[i].name, "的", c.mlz, "点血");
      endl(g);
      pause(g, 300);
    } else if (g.rand() % 30 > 19) {
      c.ratk = wsub(wadd(g.rand() % 30, c.mlz), 10);
      if (c.cnt != 0) c.indent();
      ++c.cnt;
      c.hit(i, c.ratk);
      pause(g, 300);
    }
  }
  if (c.cnt == 0) c.miss_line();
}

void water(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 1);
  if (jnbh == 0) {  // 潮涌核心
    c.cnt = 0;
    c.sweep([&](std::int32_t i) {
      if (g.rand() % 100 <= 4) return;
      c.ratk = wadd(wadd(g.a[i].def, c.mlz / 2), g.rand() % 15);
      if (c.cnt != 0) c.indent();
      ++c.cnt;
      c.hit(i, c.ratk);
      pause(g, 300);
    });
    if (c.cnt == 0) c.miss_line();
    return;
  }
  // 水牢: the prison closes before the blow, whatever the blow does.
  c.ratk = wsub(c.mlz / 2, g.rand() % 10);
  g.a[c.beat].zt = 1;
  say(g, "将", g.a[c.beat].name, "卷进水牢，扣血时");
  c.hit(c.beat, c.ratk);
  pause(g, 700);
}

void electric(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 5);
  if (jnbh == 0) {  // 闪电风暴: 4 or 5 strikes while the target stands
    c.cnt = g.rand() % 2 + 4;
    for (std::int32_t k = 1; k <= c.cnt; ++k) {
      if (!c.living(c.beat)) break;
      c.ratk = wadd(g.a[c.beat].def, c.mlz);
      if (k != 1) c.indent();
      c.hit(c.beat, c.ratk);
      pause(g, 125);
    }
    return;
  }
  // 雷电传导: five jumps; at most four failed draws for the next target in the whole cast.
  std::int32_t num = 0;
  std::int32_t bekn = 0;
  for (std::int32_t k = 1; k <= 5; ++k) {
    if (!c.living(c.beat)) continue;
    c.ratk = wadd(g.a[c.beat].def, 30);
    if (k != 1) c.indent();
    c.hit(c.beat, c.ratk);
    bekn = c.draw_enemy(num, 4, c.beat, bekn);
    pause(g, 300);
  }
}

void earth(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 6);
  if (jnbh == 0) {  // 地裂术
    c.cnt = g.rand() % 2 + 3;
    for (std::int32_t k = 1; k <= c.cnt; ++k) {
      if (!c.living(c.beat)) break;
      c.ratk = wadd(wadd(g.a[c.beat].def, c.mlz), 10);
      if (k != 1) say(g, "               ");  // 15 spaces, unlike the other skills
      c.hit(c.beat, c.ratk);
      pause(g, 200);
    }
    return;
  }
  // 地动山摇: the target's whole team, each struck with a value made from the target's defence.
  c.cnt = 0;
  for (std::int32_t i = 1; i < g.rs; ++i) {
    if (!c.living(i) || g.a[i].team != g.a[c.beat].team) continue;
    c.ratk = wadd(wadd(g.a[c.beat].def, c.mlz), 15);
    if (c.cnt != 0) c.indent();
    c.hit(i, c.ratk);
    pause(g, 250);
    ++c.cnt;
  }
}

void ice(Cast& c, int jnbh) {
  Game& g = c.g;
  if (jnbh == 0) {  // 冰冻咒
    c.ratk = wsub(wadd(g.rand() % 65, c.mlz), 15);
  } else {  // 天降冰锥
    c.ratk = wsub(wadd(wmul(2, c.mlz), g.rand() % 50), 20);
  }
  c.hit(c.beat, c.ratk);
  pause(g, 350);
  // Only a target still standing is frozen; a dodge does not save it.
  if (c.living(c.beat)) {
    if (jnbh == 0) {
      say(g, "          ", g.a[c.beat].name, "被冻住了");
      g.a[c.beat].zt = 8;
    } else {
      say(g, "          ", g.a[c.beat].name, "被给予'冻伤'状态");
      g.a[c.beat].zt = 12;
    }
    endl(g);
  }
  pause(g, 500);
}

}  // namespace morvane
