// Healing, the dark curses, and the summoner's chess pieces and zombies.

#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

// 治疗: the weakest living ally under 1000, the later slot on a tie; else the driver's target.
void heal(Cast& c) {
  Game& g = c.g;
  std::int32_t lowest = 1000;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (c.living(i) && c.ally(i) && g.roster[i].hp <= lowest) {
      lowest = g.roster[i].hp;
      c.target = i;
    }
  }
  // The one who last cried for cover is served first.
  const std::int32_t needs_cover = g.team_calls[c.me().team].needs_cover;
  if (g.rand() % 100 > 29 && g.roster[needs_cover].hp > 0) c.target = needs_cover;
  color(g, 2);
  g.roster.set_hp(c.target, wadd(g.roster[c.target].hp, c.magic));
  line(g, "回复了", g.roster[c.target].name, "的", c.magic, "点血");
  pause(g, 700);
}

// 吸血: drain the healthiest enemy, the later slot on a tie.
void drain(Cast& c) {
  Game& g = c.g;
  std::int32_t highest = -1000;
  c.sweep([&](std::int32_t i) {
    if (g.roster[i].hp >= highest) {
      highest = g.roster[i].hp;
      c.target = i;
    }
  });
  const std::int32_t value = wsub(c.magic, g.rand() % 30);
  c.hit(c.target, value);
  pause(g, 350);
  // The caster drinks whatever the blow did; a weak drain costs it blood.
  const std::int32_t gain = wsub(value, 10);
  g.roster.set_hp(c.caster, wadd(c.me().hp, gain));
  color(g, 2);
  line(g, "             回复了自己的", gain, "点血");
  pause(g, 350);
}

// 阿瓦达索命: about 100 per stack on the weakest enemy; each kill adds a stack, and at four the
// curse strikes down the healthiest enemy outright.
void killing_curse(Cast& c) {
  Game& g = c.g;
  std::int32_t lowest = 1000;
  std::int32_t highest = -100;
  std::int32_t healthiest = 0;  // the healthiest living enemy; 0 when there is none
  c.sweep([&](std::int32_t i) {
    if (g.roster[i].hp <= lowest) {
      lowest = g.roster[i].hp;
      c.target = i;
    }
    if (g.roster[i].hp >= highest) {
      highest = g.roster[i].hp;
      healthiest = i;
    }
  });
  const Fighter& me = c.me();
  if (me.curse_stacks <= 3) {
    say(g, "他的魔咒射向了", g.roster[c.target].name, ",");
    c.hit(c.target, wadd(wmul(me.curse_stacks, 100), g.roster[c.target].def));
    if (!c.living(c.target)) {
      pause(g, 500);
      line(g, g.roster[c.target].name, "的死给", me.name, "的阿瓦达索命叠加了层数");
      g.roster.set_curse_stacks(c.caster, wadd(me.curse_stacks, 1));
      if (me.curse_stacks > 3) line(g, me.name, "的阿瓦达索命已经满层，接下来将秒杀一切");
    }
    pause(g, 700);
    return;
  }
  if (healthiest == 0) {
    // Every enemy has fallen already this round: the curse has no one to strike.
    c.miss_line();
    pause(g, 700);
    return;
  }
  const std::int32_t value = g.rand() % 5000 + 5000;
  line(g, "由于层数叠满，直接秒杀");
  c.hit(healthiest, value);
  pause(g, 700);
}

// 神锋无影: a blade that bounces between enemies, losing a tenth at each bounce.
void shadow_blade(Cast& c) {
  Game& g = c.g;
  std::int32_t failed = 0;  // draws that found no enemy, at most 3 in the cast
  std::int32_t drawn = 0;
  std::int32_t value = wadd(wmul(2, c.magic), g.rand() % 60);
  for (std::int32_t k = 1; k <= 3; ++k) {
    if (!c.living(c.target)) continue;
    if (k != 1) c.indent();
    c.hit(c.target, value);
    drawn = c.draw_enemy(failed, 3, c.target, drawn);
    // No enemy was found to bounce to (unless the last slot drawn is the target itself).
    if (c.target != drawn) return;
    value = (value / 10) * 9;
    pause(g, 500);
  }
}

// 召唤棋子
void chess_piece(Cast& c) {
  Game& g = c.g;
  line(g, "场上出现了一个棋子");
  c.summon([&](Fighter& x) {
    enlist(x, {.name = "棋子",
               .team = c.me().team,
               .stats = c.scaled(Stats{100, 50, 50, 0}),
               .attribute = attribute::kNone,
               .curse_stacks = 0});
  });
  pause(g, 700);
}

// 生化攻击: a zombie rises from the corpse lowest in hit points, of either side.
void zombie_plague(Cast& c) {
  Game& g = c.g;
  std::int32_t corpse = 0;
  std::int32_t lowest = 1000;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (g.roster[i].hp <= 0 && g.roster[i].hp <= lowest) {
      lowest = g.roster[i].hp;
      corpse = i;
    }
  }
  if (corpse == 0) {
    line(g, "但是失败了");
    pause(g, 700);
    return;
  }
  c.target = corpse;
  line(g, "把死去的", g.roster[corpse].name, "变成了一只丧尸");
  const bool risen = c.summon([&](Fighter& x) {
    const Stats drawn{g.rand() % 100 + 150, g.rand() % 85, g.rand() % 30 + 20, 0};
    enlist(x, {.name = "丧尸",
               .team = c.me().team,
               .stats = c.scaled(drawn),
               .attribute = attribute::kNone,
               .curse_stacks = 0});
  });
  if (risen && g.rand() % 100 > 69) {
    const std::int32_t zombie = g.roster.next_slot() - 1;
    color(g, 3);
    line(g, "丧尸 黑化 了，变成了一只黑魔法丧尸");
    g.roster.set_name(zombie, "黑魔法丧尸");
    g.roster.set_attribute(zombie, attribute::kDark);
    pause(g, 500);
  }
  pause(g, 700);
}

}  // namespace morvane
