// Fire, water, electric, earth and ice.

#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

// 火球术
void fireball(Cast& c) {
  Game& g = c.g;
  c.hit(c.target, wsub(wadd(wmul(2, c.magic), g.rand() % 40), 20));
}

// 火盾护身: heals every living ally, the caster too, and may scorch the enemies.
void fire_shield(Cast& c) {
  Game& g = c.g;
  std::int32_t touched = 0;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    color(g, 4);
    if (!c.living(i)) continue;
    if (c.ally(i)) {
      c.indent_unless_first(touched);
      color(g, 2);
      g.roster.set_hp(i, wadd(g.roster[i].hp, c.magic));
      line(g, "回复了", g.roster[i].name, "的", c.magic, "点血");
      pause(g, 300);
    } else if (g.rand() % 30 > 19) {
      c.hit_one_of_several(touched, i, wsub(wadd(g.rand() % 30, c.magic), 10), 300);
    }
  }
  if (touched == 0) c.miss_line();
}

// 潮涌核心: a wave over every enemy; one in twenty slips under it.
void tidal_core(Cast& c) {
  Game& g = c.g;
  std::int32_t hits = 0;
  c.sweep([&](std::int32_t i) {
    if (g.rand() % 100 <= 4) return;
    c.hit_one_of_several(hits, i, wadd(wadd(g.roster[i].def, c.magic / 2), g.rand() % 15), 300);
  });
  if (hits == 0) c.miss_line();
}

// 水牢: the prison closes before the blow, whatever the blow does.
void water_prison(Cast& c) {
  Game& g = c.g;
  const std::int32_t value = wsub(c.magic / 2, g.rand() % 10);
  g.roster.set_status(c.target, status::kWaterPrison);
  say(g, "将", g.roster[c.target].name, "卷进水牢，扣血时");
  c.hit(c.target, value);
  pause(g, 700);
}

namespace {

// Blows on the target while it stands, each its defence plus the caster's magic plus `extra`.
void pound(Cast& c, std::int32_t strikes, std::int32_t extra, const char* indent, int ms) {
  for (std::int32_t k = 1; k <= strikes; ++k) {
    if (!c.living(c.target)) break;
    if (k != 1) say(c.g, indent);
    c.hit(c.target, wadd(wadd(c.g.roster[c.target].def, c.magic), extra));
    pause(c.g, ms);
  }
}

}  // namespace

// 闪电风暴: 4 or 5 strikes while the target stands.
void lightning_storm(Cast& c) {
  pound(c, c.g.rand() % 2 + 4, 0, kHitIndent, 125);
}

// 雷电传导: five jumps; at most four failed draws for the next target in the whole cast.
void chain_lightning(Cast& c) {
  Game& g = c.g;
  std::int32_t failed = 0;
  std::int32_t drawn = 0;
  for (std::int32_t k = 1; k <= 5; ++k) {
    if (!c.living(c.target)) continue;
    if (k != 1) c.indent();
    c.hit(c.target, wadd(g.roster[c.target].def, 30));
    drawn = c.draw_enemy(failed, 4, c.target, drawn);
    pause(g, 300);
  }
}

// 地裂术: 3 or 4 strikes while the target stands.
void earth_split(Cast& c) {
  constexpr const char* kEarthIndent = "               ";  // 15 spaces, unlike the other skills
  pound(c, c.g.rand() % 2 + 3, 10, kEarthIndent, 200);
}

// 地动山摇: the target's whole team, each struck with a value made from the target's defence.
void earthquake(Cast& c) {
  Game& g = c.g;
  std::int32_t blows = 0;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (!c.living(i) || g.roster[i].team != g.roster[c.target].team) continue;
    c.hit_one_of_several(blows, i, wadd(wadd(g.roster[c.target].def, c.magic), 15), 250);
  }
}

namespace {

// Only a target still standing is frozen; a dodge does not save it.
void freeze(Cast& c, std::int32_t value, const char* what, std::int32_t code) {
  Game& g = c.g;
  c.hit(c.target, value);
  pause(g, 350);
  if (c.living(c.target)) {
    line(g, "          ", g.roster[c.target].name, what);
    g.roster.set_status(c.target, code);
  }
  pause(g, 500);
}

}  // namespace

// 冰冻咒
void freezing_curse(Cast& c) {
  freeze(c, wsub(wadd(c.g.rand() % 65, c.magic), 15), "被冻住了", status::kIceBlock);
}

// 天降冰锥
void falling_icicles(Cast& c) {
  freeze(c, wsub(wadd(wmul(2, c.magic), c.g.rand() % 50), 20), "被给予'冻伤'状态",
         status::kFrostbite);
}

}  // namespace morvane
