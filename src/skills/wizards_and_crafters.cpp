// tessik and Varqueb, the dark wizards; Prane and Halvic, the crafters, and Halvic's creeper.

#include "mechanics/checks.hpp"
#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

// 黑魔王的威信: three black wizards with a typed fighter's values.
void black_wizards(Cast& c) {
  Game& g = c.g;
  line(g, "召唤了三个黑巫师！");
  for (int k = 0; k < 3; ++k) {
    c.summon([&](Fighter& x) {
      enlist(x, {.name = "黑巫师",
                 .team = c.me().team,
                 .stats = c.scaled(typed_stats(g)),
                 .attribute = attribute::kDark,
                 .curse_stacks = 1});
    });
  }
}

// 龙骨碎: one great blow, or a spray of fragments over the first enemies and a final blow.
void dragon_bone(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  const std::int32_t enemies = living_enemies(g, c.caster);
  if (enemies == 0) {
    c.miss_line();
    return;
  }
  // With one enemy left the draw is always 1.
  std::int32_t last = g.rand() % enemies + 1;
  if (last == 1) {
    line(g, "tessik用龙骨碎全力劈砍下去...");
    c.hit(c.target, wmul(me.atk, 3));
    pause(g, 700);
    return;
  }
  line(g, "龙骨碎裂开，然后朝着敌人飞散出去...");
  for (std::int32_t i = 1; i < last; ++i) {
    if (c.ally(i) || !c.living(i)) {
      ++last;  // the walk reaches one slot further
      continue;
    }
    line(g, "碎片贯穿了", g.roster[i].name, "的身体...");
    c.hit(i, wmul(me.atk / 3, 2));
    pause(g, 400);
  }
  // The final blow falls on the slot where the walk stopped, whoever stands there.
  line(g, "tessik收起龙骨碎，然后朝着", g.roster[last].name, "砍了下去...");
  c.hit(last, wmul(me.atk, 2));
  pause(g, 700);
}

// 阿瓦达狂潮: five curses that pierce every enemy they meet.
void avada_tide(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  line(g, "放出了五个穿透性的阿瓦达！");
  std::int32_t hits = 0;
  for (std::int32_t x = 1; x <= 5; ++x) {
    line(g, "他放出了第", x, "个阿瓦达...");
    c.sweep([&](std::int32_t i) {
      if (g.rand() % 50 <= 24) return;
      line(g, "阿瓦达贯穿了", g.roster[i].name, "..");
      ++hits;
      c.hit(i, wadd(wmul(2, me.atk), wmul(3, me.magic)));
      pause(g, 300);
    });
    // hits counts the whole cast: once a curse has hit, a later miss goes unremarked.
    if (hits == 0) c.miss_line();
    endl(g);
    pause(g, 800);
  }
}

// 钻心剜骨: the torment takes hold whatever the blow did.
void torment_curse(Cast& c) {
  Game& g = c.g;
  line(g, "钻心咒击中了", g.roster[c.target].name, "!");
  c.hit(c.target, wmul(2, c.me().def));
  g.roster.set_status(c.target, status::kTorment);
}

// TNT: friends with their defence + 50, foes with their own strength.
void tnt(Cast& c) {
  Game& g = c.g;
  line(g, "往人群中心丢出了一个TNT！");
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (!c.living(i)) continue;
    if (c.ally(i)) {
      c.hit(i, wadd(g.roster[i].def, 50));
    } else {
      c.hit(i, wadd(g.roster[i].def, g.roster[i].atk));
    }
    pause(g, 50);
  }
  endl(g);
  pause(g, 800);
}

// The netherite axe: each lucky cast sharpens it for good (x3, then /2).
void netherite_axe(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  line(g, "他举起了下界合金斧...");
  if (g.rand() % 100 > 49) {
    line(g, "嘣！下界合金斧多了一层锋利！");
    pause(g, 300);
    line(g, me.name, "的攻击力提升了！");
    pause(g, 300);
    g.roster.set_atk(c.caster, wmuldiv(me.atk, 3, 2));
  }
  c.hit(c.target, wadd(wmul(2, me.atk), g.roster[c.target].def));
}

// 爬行者刷怪蛋. The creeper takes over whatever else its slot held (attack, defence, magic,
// status, stacks): only its name, team, attribute and hit points are its own, and an ultimate
// raises its hit points but not their maximum.
void creeper_egg(Cast& c) {
  Game& g = c.g;
  line(g, "召唤了一个爬行者！");
  c.summon([&](Fighter& x) {
    x.name = "爬行者";
    x.attribute = attribute::kCreeper;
    x.hp = c.scaled(300);
    x.max_hp = 300;
    x.team = c.me().team;
  });
  pause(g, 500);
}

// Prane的激励: from the next turn on the caster fights as Prane.
void prane_inspiration(Cast& c) {
  Game& g = c.g;
  line(g, "他学会了Prane的所有技能！");
  g.roster.set_attribute(c.caster, attribute::kPrane);
  pause(g, 500);
}

// 自爆, the creeper's only skill under both of its names.
void self_destruct(Cast& c) {
  Game& g = c.g;
  line(g, "它爬到了", g.roster[c.target].name, "的身旁...");
  line(g, "轰！！！");
  c.hit(c.target, 1000);
  g.roster.set_hp(c.caster, -1);
  line(g, "爬行者化为尘埃...");
  pause(g, 500);
}

}  // namespace morvane
