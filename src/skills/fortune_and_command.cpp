// The ocean's tides, w_k's games of chance, 杰哥's beer, the commander and his bayonet soldiers.

#include "battle/checks.hpp"
#include "model/wrap.hpp"
#include "skills/branches.hpp"

namespace morvane {

void ocean(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 1);
  say(g, "释放出了海洋之力!");
  endl(g);
  if (jnbh == 0) {  // 海洋之敌: a percentage of every enemy's maximum
    c.sweep([&](std::int32_t x) {
      c.cnt = g.rand() % 100 + 1;
      const std::int32_t v = wmul(g.a[x].maxhp, c.cnt) / 100;
      say(g, "扣除了", g.a[x].name, "的", g.a[x].maxhp, "*", c.cnt, "%点血");
      endl(g);
      say(g, "实际伤害:", v, "-", g.a[x].def, "=", wsub(v, g.a[x].def));
      endl(g);
      c.hit(x, v);
      pause(g, 200);
    });
    return;
  }
  // 海洋之友: a percentage of every living ally's maximum, the caster too, past the maximum.
  for (std::int32_t x = 1; x < g.rs; ++x) {
    if (!c.living(x) || !c.ally(x)) continue;
    c.cnt = g.rand() % 50 + 1;
    const std::int32_t v = wmul(g.a[x].maxhp, c.cnt) / 100;
    say(g, "回复了", g.a[x].name, "的", g.a[x].maxhp, "*", c.cnt, "%点血");
    endl(g);
    say(g, "实际恢复:", v);
    endl(g);
    g.a[x].hp = wadd(g.a[x].hp, v);
    pause(g, 150);
  }
}

namespace {

// 硬币定生死 tails: half the living enemies (rounded up) are struck down, each on an even
// chance, by a walk that cycles over the roster until they are or the battle is decided.
void tails(Cast& c) {
  Game& g = c.g;
  const std::int32_t enemies = checklivings(g, c.ater);
  std::int32_t budget = enemies / 2 + enemies % 2;
  std::int32_t x = 1;
  auto advance = [&] { x = x + 1 < g.rs ? x + 1 : 1; };
  while (budget > 0) {
    if (c.ally(x) || !c.living(x)) {
      advance();
      continue;
    }
    if (g.rand() % 100 <= 49) {
      c.hit(x, wmul(g.a[x].maxhp, 10000));
      endl(g);
      --budget;
    }
    advance();
    if (checkwin(g)) break;
  }
}

}  // namespace

void coin(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 5);
  rw& me = c.caster();
  if (jnbh == 0) {  // 奇偶判定: even strikes the target with its own strength, odd the caster
    say(g, "他从数据库中随机抽取了一个数...");
    endl(g);
    pause(g, 100);
    c.cnt = g.rand();
    say(g, "他抽出了", c.cnt, "！");
    endl(g);
    if (c.cnt % 2 == 0) {
      say(g, "是偶数，", g.a[c.beat].name, "扣除血量！");
      endl(g);
      c.hit(c.beat, wadd(g.a[c.beat].def, g.a[c.beat].atk));
    } else {
      say(g, "是奇数，自己扣血！");
      endl(g);
      c.hit(c.ater, me.atk);
    }
    pause(g, 300);
    return;
  }
  say(g, "他掷出一枚决定生死的硬币...");
  endl(g);
  pause(g, 500);
  say(g, "硬币落地...");
  endl(g);
  pause(g, 400);
  c.cnt = g.rand() % 10000;
  if (c.cnt > 4999) {
    say(g, "正面");
    endl(g);
    pause(g, 500);
    c.hit(c.ater, wmul(me.maxhp, 10000));
    return;
  }
  say(g, "反面");
  endl(g);
  pause(g, 500);
  tails(c);
}

void jiege(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 6);
  rw& me = c.caster();
  if (jnbh == 0) {  // 啤酒
    say(g, "他仰头干了一罐啤酒...");
    endl(g);
    pause(g, 700);
    say(g, "杰哥的各项能力上升了!");
    endl(g);
    me.atk = wmuldiv(me.atk, 3, 2);
    me.def = wmuldiv(me.def, 3, 2);
    me.hp = wmuldiv(me.hp, 4, 3);
    me.maxhp = wmuldiv(me.maxhp, 3, 2);
    me.ml = wadd(me.ml, 50);
    pause(g, 500);
    say(g, "杰哥挥着拳头打出一击...");
    endl(g);
    c.hit(c.beat, wadd(me.atk, g.a[c.beat].def));
    if (!c.living(c.beat)) {
      say(g, "杰哥感到一阵亢奋!");
      endl(g);
      pause(g, 600);
      say(g, "杰哥的各项属性再次提升!");
      endl(g);
      me.atk = wmuldiv(me.atk, 4, 3);
      me.def = wmuldiv(me.def, 4, 3);
      me.hp = wmuldiv(me.hp, 5, 4);
      me.maxhp = wmuldiv(me.maxhp, 4, 3);
      me.ml = wadd(me.ml, 25);
    }
    pause(g, 500);
    return;
  }
  // 让我看看
  say(g, "他冲着", g.a[c.beat].name, "扑了过去...");
  endl(g);
  if (g.rand() % 1000 > 699) {
    say(g, g.a[c.beat].name, "闪开了");
    endl(g);
  } else {
    c.hit(c.beat, wadd(wadd(g.a[c.beat].maxhp / 2, me.atk), g.a[c.beat].def));
  }
  pause(g, 650);
}

namespace {

// The target may slip out of the scope at each of the sniper's three stages.
bool escapes(Cast& c) {
  Game& g = c.g;
  if (g.rand() % 100 <= 79) return false;
  say(g, g.a[c.beat].name, "发现了指挥官并退出了他的视线...");
  endl(g);
  pause(g, 500);
  return true;
}

}  // namespace

void commander(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 7);
  rw& me = c.caster();
  if (jnbh == 0) {  // 狙击枪
    say(g, "指挥官找到一个高地趴下...");
    endl(g);
    pause(g, 600);
    if (escapes(c)) return;
    say(g, "瞄准镜套住了", g.a[c.beat].name, "...");
    endl(g);
    pause(g, 600);
    if (escapes(c)) return;
    say(g, "食指已轻触扳机...");
    endl(g);
    pause(g, 600);
    if (escapes(c)) return;
    say(g, "指挥官扣动扳机！");
    endl(g);
    say(g, "砰！");
    endl(g);
    pause(g, 500);
    say(g, g.a[c.beat].name, "直接被爆头了！");
    endl(g);
    c.hit(c.beat, g.a[c.beat].hp / 7);
    pause(g, 600);
    return;
  }
  // 请求支援: a squad of eight soldiers of the three soldier attributes.
  say(g, "一队8人的战斗小队随即到达！");
  endl(g);
  for (int k = 0; k < 8; ++k) {
    c.summon([&](rw& x) {
      x.name = "士兵";
      x.team = me.team;
      draw_base_stats(g, x);
      x.zt = 0;
      x.sx = g.rand() % 3 + 18;
      c.ultimate_scale(x, {&rw::hp, &rw::atk, &rw::def, &rw::ml});
      x.maxhp = x.hp;
    });
  }
  pause(g, 700);
}

void bayonet_soldier(Cast& c, int jnbh) {
  Game& g = c.g;
  color(g, 7);
  rw& me = c.caster();
  if (jnbh == 0) {  // 刺刀: the wound bleeds whatever the thrust did
    say(g, "他向", g.a[c.beat].name, "刺出了一刀!");
    endl(g);
    say(g, g.a[c.beat].name, "流血了!");
    endl(g);
    c.hit(c.beat, wadd(wmul(2, g.a[c.beat].atk), g.a[c.beat].def));
    g.a[c.beat].zt = 16;
    pause(g, 600);
    return;
  }
  // 步枪: up to thirty shots while the target stands.
  say(g, "他对着", g.a[c.beat].name, "射出了一梭子子弹！");
  endl(g);
  pause(g, 450);
  for (int k = 0; k < 30; ++k) {
    if (!c.living(c.beat)) break;
    say(g, "   ");
    c.hit(c.beat, wadd(wmul(3, me.atk), g.a[c.beat].def));
    pause(g, 50);
  }
  pause(g, 600);
}

}  // namespace morvane
