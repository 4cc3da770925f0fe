// The grenadier and machine-gunner soldiers, mossu_ka's crows, and 富兰克林's crew.

#include <utility>

#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

// 手雷: every living enemy is struck on an even chance with its own attack plus the caster's.
void grenade(Cast& c) {
  Game& g = c.g;
  line(g, "向人群中间丢出了一颗手雷！");
  std::int32_t hits = 0;
  c.sweep([&](std::int32_t x) {
    if (g.rand() % 100 > 49) return;
    c.hit(x, wadd(g.roster[x].atk, c.me().atk));
    ++hits;
    pause(g, 100);
  });
  if (hits == 0) c.miss_line();
  pause(g, 600);
}

// 喷子: and on an even chance the target loses a third of its defence.
void shotgun(Cast& c) {
  Game& g = c.g;
  line(g, "拉动枪栓，射出了一发子弹！");
  const Fighter& target = g.roster[c.target];
  c.hit(c.target, wadd(wmul(3, c.me().atk), target.max_hp / 7));
  if (target.def > 0 && g.rand() % 100 <= 49) {
    line(g, "  ", target.name, "的防御减少了！");
    g.roster.set_def(c.target, target.def / 3 * 2);
    pause(g, 50);
  }
  pause(g, 600);
}

// 扫射: at the healthiest enemy, or where the team focuses its fire.
void strafe(Cast& c) {
  Game& g = c.g;
  line(g, "重机枪疯狂地喷射出子弹！");
  pause(g, 600);
  std::int32_t best = -100;
  c.sweep([&](std::int32_t x) {
    if (g.roster[x].hp > best) {
      best = g.roster[x].hp;
      c.target = x;
    }
  });
  const std::int32_t focus = g.team_calls[c.me().team].focus;
  if (g.rand() % 100 > 29 && c.living(focus)) c.target = focus;
  const Fighter& target = g.roster[c.target];
  for (int volley = 0; volley < 50; ++volley) {
    if (target.hp <= 0) break;
    say(g, "     ");
    c.hit(c.target, wmul(2, c.me().atk));
    if (target.def > 0 && g.rand() % 100 <= 49) {
      line(g, "      ", target.name, "的防御减少了！");
      g.roster.set_def(c.target, target.def - 1);
      pause(g, 50);
    }
    pause(g, 10);
  }
  pause(g, 700);
}

// 生命之轮: trade hit points with the healthiest enemy above the caster.
void wheel_of_life(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  std::int32_t x = 0;
  c.sweep([&](std::int32_t i) {
    if (g.roster[i].hp > me.hp && (x == 0 || g.roster[i].hp > g.roster[x].hp)) x = i;
  });
  if (x == 0) {
    line(g, "但是失败了");
  } else {
    line(g, "互换了自己和", g.roster[x].name, "的血量!");
    const std::int32_t mine = me.hp;
    g.roster.set_hp(c.caster, g.roster[x].hp);
    g.roster.set_hp(x, mine);
  }
  pause(g, 700);
}

// 鸦群之潮: the crows tear at the target's defence, then at its body.
void crow_tide(Cast& c) {
  Game& g = c.g;
  line(g, "乌鸦如同潮水般涌出！");
  pause(g, 300);
  const Fighter& target = g.roster[c.target];
  const std::int32_t cut = target.def <= 10 ? 30 : target.def / 2;
  line(g, target.name, "的防御减少了", cut);
  g.roster.set_def(c.target, wsub(target.def, cut));
  pause(g, 300);
  c.hit(c.target, target.max_hp / (g.rand() % 2 + 2));
  pause(g, 700);
}

namespace {

// 子弹时间: one shot per ten points of magic while the target stands.
void bullet_time(Cast& c, std::int32_t times) {
  Game& g = c.g;
  line(g, "抬起枪开始扫射！");
  pause(g, 300);
  for (std::int32_t i = 1; i <= c.me().magic / 10; ++i) {
    if (!c.living(c.target)) break;
    c.hit(c.target, wadd(wmul(times, c.me().atk), g.roster[c.target].atk));
    pause(g, 300);
  }
}

}  // namespace

void franklins_bullet_time(Cast& c) {
  bullet_time(c, 3);
}

// 呼叫队友: 麦克 and 崔佛 arrive; an ultimate does not make them stronger.
void call_the_crew(Cast& c) {
  Game& g = c.g;
  line(g, "麦克和崔佛到达战场！");
  for (const auto& comrade :
       {std::pair{"麦克", attribute::kMichael}, std::pair{"崔佛", attribute::kTrevor}}) {
    c.summon([&](Fighter& x) {
      enlist(x, {.name = comrade.first,
                 .team = c.me().team,
                 .stats = kCrewRanges.draw(g),
                 .attribute = comrade.second,
                 .ultimate_level = 1});
    });
  }
}

void michaels_bullet_time(Cast& c) {
  bullet_time(c, 2);
}

// 重型狙击枪: 10000 and up to a fifth of the target's maximum.
void heavy_sniper(Cast& c) {
  Game& g = c.g;
  line(g, "抬起了一把反器材狙击步枪！");
  pause(g, 1000);
  const std::int32_t r = g.rand();
  const std::int32_t span = wmul(2, g.roster[c.target].max_hp / 10);
  // A target too frail for the formula (maximum below 10) gets the 10000 alone.
  c.hit(c.target, wadd(span == 0 ? 0 : r % span, 10000));
}

// 无敌时间
void invincible_time(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  line(g, "接下来的", me.magic / 10, "个回合他将获得超高防御力！");
  g.roster.set_status(c.caster, status::kInvincible);
  g.roster.set_def(c.caster, kInt32Max);
  pause(g, 500);
}

// 火神机枪: one shot per living enemy met, every one of them at the turn's target.
void minigun(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  line(g, "抬起了备弹充足的火神机枪！");
  pause(g, 1000);
  c.sweep([&](std::int32_t) {
    if (g.rand() % 1000 <= 949) c.hit(c.target, wadd(wmul(5, me.atk), g.roster[c.target].def));
    pause(g, 75);
  });
}

}  // namespace morvane
