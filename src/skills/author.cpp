// The author's own skills.

#include "model/wrap.hpp"
#include "skills/branches.hpp"

namespace morvane {

void author(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, g.rand() % 8);
  rw& me = c.caster();
  if (jnbh == 0) {  // 召唤手下: a henchman of any attribute a fighter can have
    const std::int32_t sx = g.rand() % 24 + 1;
    say(g, "叫来了一个属性为", sx, "的敌人！");
    endl(g);
    c.summon([&](rw& x) {
      x.name = "敌人";
      x.team = me.team;
      x.hp = 400;
      x.atk = 100;
      x.def = 70;
      x.ml = 80;
      x.zt = 0;
      x.sx = sx;
      c.ultimate_scale(x, {&rw::hp, &rw::atk, &rw::def, &rw::ml});
      x.maxhp = x.hp;
    });
    pause(g, 500);
    return;
  }
  // 88反一切炮: the ice code goes on first, so the shot cannot be dodged, and the target's own
  // hit points and defence are added, so it cannot be survived either (an invincible defence
  // included: it wraps around and cancels out).
  rw& target = g.a[c.beat];
  say(g, "将炮口对准了", target.name, "...");
  pause(g, 1000);
  target.zt = 10;
  c.hit(c.beat, wadd(wadd(target.hp, target.def), 525));
  pause(g, 500);
}

}  // namespace morvane
