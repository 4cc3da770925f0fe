// The ocean's tides, w_k's games of chance, 杰哥's beer, the commander and his bayonet soldiers.

#include "mechanics/checks.hpp"
#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {
// 海洋之敌: a percentage of every enemy's maximum.
void ocean_foe(Cast& c) {
  Game& g = c.g;
  line(g, "释放出了海洋之力!");
  c.sweep([&](std::int32_t x) {
    const std::int32_t percent = g.rand() % 100 + 1;
    const std::int32_t v = wmul(g.roster[x].max_hp, percent) / 100;
    line(g, "扣除了", g.roster[x].name, "的", g.roster[x].max_hp, "*", percent, "%点血");
    line(g, "实际伤害:", v, "-", g.roster[x].def, "=", wsub(v, g.roster[x].def));
    c.hit(x, v);
    pause(g, 200);
  });
}

// 海洋之友: a percentage of every living ally's maximum, the caster too, past the maximum.
void ocean_friend(Cast& c) {
  Game& g = c.g;
  line(g, "释放出了海洋之力!");
  for (std::int32_t x = 1; x < g.roster.next_slot(); ++x) {
    if (!c.living(x) || !c.ally(x)) continue;
    const std::int32_t percent = g.rand() % 50 + 1;
    const std::int32_t v = wmul(g.roster[x].max_hp, percent) / 100;
    line(g, "回复了", g.roster[x].name, "的", g.roster[x].max_hp, "*", percent, "%点血");
    line(g, "实际恢复:", v);
    g.roster.set_hp(x, wadd(g.roster[x].hp, v));
    pause(g, 150);
  }
}

// 奇偶判定: even strikes the target with its own strength, odd the caster.
void odd_or_even(Cast& c) {
  Game& g = c.g;
  line(g, "他从数据库中随机抽取了一个数...");
  pause(g, 100);
  const std::int32_t drawn = g.rand();
  line(g, "他抽出了", drawn, "！");
  if (drawn % 2 == 0) {
    line(g, "是偶数，", g.roster[c.target].name, "扣除血量！");
    c.hit(c.target, wadd(g.roster[c.target].def, g.roster[c.target].atk));
  } else {
    line(g, "是奇数，自己扣血！");
    c.hit(c.caster, c.me().atk);
  }
  pause(g, 300);
}

namespace {

// Tails: half the living enemies (rounded up) are struck down, each on an even chance, by a walk
// that cycles over the roster until they are or the battle is decided.
void tails(Cast& c) {
  Game& g = c.g;
  const std::int32_t enemies = living_enemies(g, c.caster);
  std::int32_t budget = enemies / 2 + enemies % 2;
  std::int32_t x = 1;
  auto advance = [&] { x = x + 1 < g.roster.next_slot() ? x + 1 : 1; };
  while (budget > 0) {
    if (c.ally(x) || !c.living(x)) {
      advance();
      continue;
    }
    if (g.rand() % 100 <= 49) {
      c.hit(x, wmul(g.roster[x].max_hp, 10000));
      endl(g);
      --budget;
    }
    advance();
    if (check_victory(g)) break;
  }
}

}  // namespace

// 硬币定生死: heads kills the caster, tails half the enemies.
void life_or_death_coin(Cast& c) {
  Game& g = c.g;
  line(g, "他掷出一枚决定生死的硬币...");
  pause(g, 500);
  line(g, "硬币落地...");
  pause(g, 400);
  if (g.rand() % 10000 > 4999) {
    line(g, "正面");
    pause(g, 500);
    c.hit(c.caster, wmul(c.me().max_hp, 10000));
    return;
  }
  line(g, "反面");
  pause(g, 500);
  tails(c);
}

namespace {

// What 杰哥's beer does to him: attack, defence and maximum hit points grow by one fraction, his
// hit points by another, and his magic by a fixed amount.
struct Boost {
  std::int32_t num, den;        // attack, defence, maximum
  std::int32_t hp_num, hp_den;  // hit points
  std::int32_t magic;
};
constexpr Boost kBeer{3, 2, 4, 3, 50};
constexpr Boost kThrill{4, 3, 5, 4, 25};

void boost(Cast& c, const Boost& b) {
  Roster& roster = c.g.roster;
  const Fighter& me = c.me();
  roster.set_atk(c.caster, wmuldiv(me.atk, b.num, b.den));
  roster.set_def(c.caster, wmuldiv(me.def, b.num, b.den));
  roster.set_hp(c.caster, wmuldiv(me.hp, b.hp_num, b.hp_den));
  roster.set_max_hp(c.caster, wmuldiv(me.max_hp, b.num, b.den));
  roster.set_magic(c.caster, wadd(me.magic, b.magic));
}

}  // namespace

// 啤酒: stronger at once, and stronger still after a kill.
void beer(Cast& c) {
  Game& g = c.g;
  const Fighter& me = c.me();
  line(g, "他仰头干了一罐啤酒...");
  pause(g, 700);
  line(g, "杰哥的各项能力上升了!");
  boost(c, kBeer);
  pause(g, 500);
  line(g, "杰哥挥着拳头打出一击...");
  c.hit(c.target, wadd(me.atk, g.roster[c.target].def));
  if (!c.living(c.target)) {
    line(g, "杰哥感到一阵亢奋!");
    pause(g, 600);
    line(g, "杰哥的各项属性再次提升!");
    boost(c, kThrill);
  }
  pause(g, 500);
}

// 让我看看
void let_me_see(Cast& c) {
  Game& g = c.g;
  line(g, "他冲着", g.roster[c.target].name, "扑了过去...");
  if (g.rand() % 1000 > 699) {
    line(g, g.roster[c.target].name, "闪开了");
  } else {
    c.hit(c.target, wadd(wadd(g.roster[c.target].max_hp / 2, c.me().atk), g.roster[c.target].def));
  }
  pause(g, 650);
}

namespace {

// The target may slip out of the scope at each of the sniper's three stages.
bool escapes(Cast& c) {
  Game& g = c.g;
  if (g.rand() % 100 <= 79) return false;
  line(g, g.roster[c.target].name, "发现了指挥官并退出了他的视线...");
  pause(g, 500);
  return true;
}

}  // namespace

// 狙击枪
void sniper_rifle(Cast& c) {
  Game& g = c.g;
  line(g, "指挥官找到一个高地趴下...");
  pause(g, 600);
  if (escapes(c)) return;
  line(g, "瞄准镜套住了", g.roster[c.target].name, "...");
  pause(g, 600);
  if (escapes(c)) return;
  line(g, "食指已轻触扳机...");
  pause(g, 600);
  if (escapes(c)) return;
  line(g, "指挥官扣动扳机！");
  line(g, "砰！");
  pause(g, 500);
  line(g, g.roster[c.target].name, "直接被爆头了！");
  c.hit(c.target, g.roster[c.target].hp / 7);
  pause(g, 600);
}

// 请求支援: a squad of eight soldiers of the three soldier attributes.
void call_support(Cast& c) {
  Game& g = c.g;
  line(g, "一队8人的战斗小队随即到达！");
  for (int k = 0; k < 8; ++k) {
    c.summon([&](Fighter& x) {
      const Stats drawn = typed_stats(g);
      enlist(x, {.name = "士兵",
                 .team = c.me().team,
                 .stats = c.scaled(drawn),
                 .attribute = g.rand() % 3 + attribute::kBayonetSoldier});
    });
  }
  pause(g, 700);
}

// 刺刀: the wound bleeds whatever the thrust did.
void bayonet(Cast& c) {
  Game& g = c.g;
  line(g, "他向", g.roster[c.target].name, "刺出了一刀!");
  line(g, g.roster[c.target].name, "流血了!");
  c.hit(c.target, wadd(wmul(2, g.roster[c.target].atk), g.roster[c.target].def));
  g.roster.set_status(c.target, status::kBleeding);
  pause(g, 600);
}

// 步枪: up to thirty shots while the target stands.
void rifle(Cast& c) {
  Game& g = c.g;
  line(g, "他对着", g.roster[c.target].name, "射出了一梭子子弹！");
  pause(g, 450);
  for (int k = 0; k < 30; ++k) {
    if (!c.living(c.target)) break;
    say(g, "   ");
    c.hit(c.target, wadd(wmul(3, c.me().atk), g.roster[c.target].def));
    pause(g, 50);
  }
  pause(g, 600);
}

}  // namespace morvane
