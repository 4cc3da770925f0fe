#include "mechanics/status.hpp"

#include "mechanics/attack.hpp"
#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "model/wrap.hpp"

namespace morvane {
namespace {

// 1 ... 6: each turn in the prison makes breaking free likelier; the fourth always frees.
bool water_prison(Game& g, std::int32_t i, std::int32_t attacker) {
  const Fighter& x = g.roster[i];
  g.roster.set_status(i, x.status + 1);
  if (g.rand() % 3 + 2 < x.status) {
    say(g, x.name, "从");
    color(g, 1);
    say(g, "水牢");
    color(g, 0);
    line(g, "中挣脱出来");
    g.roster.set_status(i, status::kNone);
    pause(g, 500);
    return true;
  }
  say(g, x.name, "在");
  color(g, 1);
  say(g, "水牢");
  color(g, 0);
  say(g, "里挣扎，但是扣血，");
  attack(g, attacker, i, wadd(x.def, 25));
  pause(g, 500);
  return false;
}

// 8 ... 11: two turns frozen from 8, then the ice melts (code 10 melts at once).
bool ice_block(Game& g, std::int32_t i) {
  const Fighter& x = g.roster[i];
  g.roster.set_status(i, x.status + 1);
  if (x.status == status::kIceMelted) {
    line(g, x.name, "所处的冰块融化了");
    g.roster.set_status(i, status::kNone);
    pause(g, 600);
    return true;
  }
  line(g, x.name, "在冰块里无法动弹");
  pause(g, 700);
  return false;
}

void frostbite(Game& g, std::int32_t i) {
  const Fighter& x = g.roster[i];
  if (g.rand() % 100 > 19) {
    line(g, x.name, "从冻伤中恢复过来");
    g.roster.set_status(i, status::kNone);
  } else {
    line(g, x.name, "冻伤发作，他又冻住了");
    g.roster.set_status(i, status::kIceBlock);
  }
}

// 15 -> 14 -> 13 -> 12: three ticks of rising damage, ending in frostbite.
void torment(Game& g, std::int32_t i, std::int32_t attacker) {
  const Fighter& x = g.roster[i];
  g.roster.set_status(i, x.status - 1);
  line(g, x.name, "因为钻心受到伤害…");
  attack(g, attacker, i, wmul(x.def, status::kTorment + 1 - x.status));
}

// 16 ... 19: four ticks, then the code rests at 20.
void bleeding(Game& g, std::int32_t i, std::int32_t attacker) {
  const Fighter& x = g.roster[i];
  g.roster.set_status(i, x.status + 1);
  line(g, x.name, "因为流血受到伤害…");
  attack(g, attacker, i, wadd(x.def, x.max_hp / 20));
}

// 22 ... k+21 with k = magic/10: the defence stays sky-high until the k-th turn, which heals fully
// and draws a new, ordinary defence.
void invincibility(Game& g, std::int32_t i, std::int32_t k) {
  const Fighter& x = g.roster[i];
  g.roster.set_status(i, x.status + 1);
  if (x.status == wadd(k, status::kInvincible)) {
    line(g, x.name, "的无敌时间已过！");
    g.roster.set_hp(i, x.max_hp);
    g.roster.set_def(i, g.rand() % 50 + 70);
  } else {
    line(g, x.name, "的防御高到离谱！");
    g.roster.set_def(i, kInt32Max);
  }
}

}  // namespace

bool status_step(Game& g, std::int32_t i, std::int32_t attacker) {
  const Fighter& x = g.roster[i];
  if (x.status >= status::kWaterPrison && x.status <= status::kWaterPrisonLast)
    return water_prison(g, i, attacker);
  if (x.status >= status::kIceBlock && x.status <= status::kIceBlockLast) return ice_block(g, i);
  if (x.status == status::kFrostbite) {
    frostbite(g, i);
  } else if (x.status >= status::kTormentLast && x.status <= status::kTorment) {
    torment(g, i, attacker);
  } else if (x.status >= status::kBleeding && x.status <= status::kBleedingLast) {
    bleeding(g, i, attacker);
  } else {
    const std::int32_t k = x.magic / 10;
    if (x.status >= status::kInvincible && x.status <= wadd(k, status::kInvincible - 1))
      invincibility(g, i, k);
  }
  return true;
}

}  // namespace morvane
