#include "mechanics/status.hpp"

#include "mechanics/attack.hpp"
#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "model/wrap.hpp"

namespace morvane {
namespace {

// 1 ... 6: each turn in the prison makes breaking free likelier; the fourth always frees.
bool water_prison(Game& g, std::int32_t i, std::int32_t ater) {
  Fighter& x = g.a[i];
  ++x.zt;
  if (g.rand() % 3 + 2 < x.zt) {
    say(g, x.name, "从");
    color(g, 1);
    say(g, "水牢");
    color(g, 0);
    line(g, "中挣脱出来");
    x.zt = zt::kNone;
    pause(g, 500);
    return true;
  }
  say(g, x.name, "在");
  color(g, 1);
  say(g, "水牢");
  color(g, 0);
  say(g, "里挣扎，但是扣血，");
  attack(g, ater, i, wadd(x.def, 25));
  pause(g, 500);
  return false;
}

// 8 ... 11: two turns frozen from 8, then the ice melts (code 10 melts at once).
bool ice_block(Game& g, std::int32_t i) {
  Fighter& x = g.a[i];
  ++x.zt;
  if (x.zt == zt::kIceMelted) {
    line(g, x.name, "所处的冰块融化了");
    x.zt = zt::kNone;
    pause(g, 600);
    return true;
  }
  line(g, x.name, "在冰块里无法动弹");
  pause(g, 700);
  return false;
}

void frostbite(Game& g, std::int32_t i) {
  Fighter& x = g.a[i];
  if (g.rand() % 100 > 19) {
    line(g, x.name, "从冻伤中恢复过来");
    x.zt = zt::kNone;
  } else {
    line(g, x.name, "冻伤发作，他又冻住了");
    x.zt = zt::kIceBlock;
  }
}

// 15 -> 14 -> 13 -> 12: three ticks of rising damage, ending in frostbite.
void torment(Game& g, std::int32_t i, std::int32_t ater) {
  Fighter& x = g.a[i];
  --x.zt;
  line(g, x.name, "因为钻心受到伤害…");
  attack(g, ater, i, wmul(x.def, zt::kTorment + 1 - x.zt));
}

// 16 ... 19: four ticks, then the code rests at 20.
void bleeding(Game& g, std::int32_t i, std::int32_t ater) {
  Fighter& x = g.a[i];
  ++x.zt;
  line(g, x.name, "因为流血受到伤害…");
  attack(g, ater, i, wadd(x.def, x.maxhp / 20));
}

// 22 ... k+21 with k = ml/10: the defence stays sky-high until the k-th turn, which heals fully
// and draws a new, ordinary defence.
void invincibility(Game& g, std::int32_t i, std::int32_t k) {
  Fighter& x = g.a[i];
  ++x.zt;
  if (x.zt == wadd(k, zt::kInvincible)) {
    line(g, x.name, "的无敌时间已过！");
    x.hp = x.maxhp;
    x.def = g.rand() % 50 + 70;
  } else {
    line(g, x.name, "的防御高到离谱！");
    x.def = kInt32Max;
  }
  g.touched(i);
}

}  // namespace

bool status_step(Game& g, std::int32_t i, std::int32_t ater) {
  Fighter& x = g.a[i];
  if (x.zt >= zt::kWaterPrison && x.zt <= zt::kWaterPrisonLast) return water_prison(g, i, ater);
  if (x.zt >= zt::kIceBlock && x.zt <= zt::kIceBlockLast) return ice_block(g, i);
  if (x.zt == zt::kFrostbite) {
    frostbite(g, i);
  } else if (x.zt >= zt::kTormentLast && x.zt <= zt::kTorment) {
    torment(g, i, ater);
  } else if (x.zt >= zt::kBleeding && x.zt <= zt::kBleedingLast) {
    bleeding(g, i, ater);
  } else {
    const std::int32_t k = x.ml / 10;
    if (x.zt >= zt::kInvincible && x.zt <= wadd(k, zt::kInvincible - 1)) invincibility(g, i, k);
  }
  return true;
}

}  // namespace morvane
