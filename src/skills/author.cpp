// The author's own skills. Each is cast in a colour of chance.

#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

// 召唤手下: a henchman of any attribute a fighter can have.
void summon_henchman(Cast& c) {
  Game& g = c.g;
  color(g, g.rand() % 8);
  const std::int32_t attribute = g.rand() % 24 + 1;
  line(g, "叫来了一个属性为", attribute, "的敌人！");
  c.summon([&](Fighter& x) {
    enlist(x, {.name = "敌人",
               .team = c.me().team,
               .stats = c.scaled(Stats{400, 100, 70, 80}),
               .attribute = attribute});
  });
  pause(g, 500);
}

// 88反一切炮: the ice code goes on first, so the shot cannot be dodged, and the target's own
// hit points and defence are added, so it cannot be survived either (an invincible defence
// included: it wraps around and cancels out).
void anti_everything_cannon(Cast& c) {
  Game& g = c.g;
  color(g, g.rand() % 8);
  const Fighter& target = g.roster[c.target];
  say(g, "将炮口对准了", target.name, "...");
  pause(g, 1000);
  g.roster.set_status(c.target, status::kCannonIce);
  c.hit(c.target, wadd(wadd(target.hp, target.def), 525));
  pause(g, 500);
}

}  // namespace morvane
