#include "mechanics/attack.hpp"

#include <array>
#include <string_view>

#include "mechanics/narrate.hpp"
#include "model/wrap.hpp"

namespace morvane {
namespace {

void call_focus_fire(Game& g, std::int32_t x, std::int32_t y) {
  g.team_calls[g.roster[x].team].focus = y;
}
void call_cover(Game& g, std::int32_t x) {
  g.team_calls[g.roster[x].team].needs_cover = x;
}

// The attacker may open with a call to its team before the blow lands.
void opening_call(Game& g, std::int32_t attacker, std::int32_t target) {
  if (g.rand() % 20000 <= 12999) return;
  struct Call {
    int above;
    std::string_view before, after;  // the target's name goes between them, if `after` is set
    bool names_target, focus;
  };
  static constexpr std::array<Call, 6> kCalls = {{
      {8999, ":我要上了！各位搭把手集火", "！", true, true},
      {7999, ":配合我一下！集火", "！到时候没得吃亏！", true, true},
      {6999, ":我想你们需要集火", "以达到最佳战术效果。", true, true},
      {5999, ":我要上了！各位掩护我！", "", false, false},
      {4999, ":你们最好掩护我一下，除非想输掉这场战斗。", "", false, false},
      {3999, ":如果你们不想看着我死在这儿，就掩护我，白痴！", "", false, false},
  }};
  for (const Call& c : kCalls) {
    if (g.rand() % 10000 <= c.above) continue;
    endl(g);
    say(g, "\t", g.roster[attacker].name, c.before);
    if (c.names_target) say(g, g.roster[target].name, c.after);
    endl(g);
    if (c.focus) {
      call_focus_fire(g, attacker, target);
    } else {
      call_cover(g, attacker);
    }
    pause(g, 1000);
    return;
  }
}

void death_line(Game& g, std::int32_t target) {
  const std::int32_t hp = g.roster[target].hp;
  say(g, "   ", g.roster[target].name);
  if (hp < -499) {
    say(g, "在一道伴着巨响的强光中消失了");
  } else if (hp < -199) {
    say(g, "化为尘埃");
  } else if (g.round_count == 1) {
    say(g, "被秒杀了");
  } else if (hp < -49) {
    say(g, "重伤身亡");
  } else {
    say(g, "倒地了");
  }
  endl(g);
  pause(g, 400);
}

// The struck combatant, still standing, may cry for cover, complain, and call for revenge.
void reply(Game& g, std::int32_t attacker, std::int32_t target, std::int32_t damage) {
  if (g.rand() % 20000 <= 12999) return;
  bool cried = false;
  if (g.roster[target].hp <= 29 && g.rand() % 10000 > 6999) {
    line(g, "\t\t", g.roster[target].name, ":我要倒了！掩护我！");
    call_cover(g, target);
    pause(g, 1000);
    cried = true;
  }
  if (!cried && damage >= g.roster[target].max_hp / 8 && g.rand() % 10000 > 6999) {
    line(g, "\t\t", g.roster[target].name, ":天哪，这下可真够疼的！");
    pause(g, 1000);
  }
  if (g.rand() % 10000 > 8999) {
    line(g, "\t\t", g.roster[target].name, ":反击啊，你们这群废物！集火那个",
         g.roster[attacker].name, "！");
    call_focus_fire(g, target, attacker);
    pause(g, 1000);
  }
}

void follow_up(Game& g, std::int32_t attacker, std::int32_t target) {
  if (g.rand() % 20000 <= 12999) return;
  struct Call {
    std::string_view text;
    bool focus;
  };
  static constexpr std::array<Call, 3> kCalls = {{
      {":到你们了！干掉这个家伙！", true},
      {":完成！接下来交给你们！", false},
      {":漂亮！各位集火这家伙！", true},
  }};
  for (const Call& c : kCalls) {
    if (g.rand() % 10000 <= 6999) continue;
    say(g, "\t\t", g.roster[attacker].name, c.text);
    if (c.focus) call_focus_fire(g, attacker, target);
    endl(g);
    pause(g, 1000);
    return;
  }
}

}  // namespace

void attack(Game& g, std::int32_t attacker, std::int32_t target, std::int32_t value) {
  const std::int32_t defence = g.roster[target].def;
  const std::int32_t blow = wsub(wadd(g.rand() % 50, value), 20);
  std::int32_t damage = wsub(blow, defence);

  opening_call(g, attacker, target);

  if (g.rand() % 1000 > 899 && g.roster[target].status <= 0) {
    line(g, "但是", g.roster[target].name, "闪开了");
    pause(g, 500);
    return;
  }

  if (g.roster[attacker].casting_ultimate) damage = wmul(g.roster[attacker].ultimate_level, damage);

  if (g.rand() % 7 == 3) {
    damage = wmul(damage, 2);
    say(g, "打出了暴击，");
  }

  if (damage <= 0) {
    line(g, g.roster[target].name, "防御了");
    return;
  }

  g.roster.set_hp(target, wsub(g.roster[target].hp, damage));
  line(g, g.roster[target].name, "掉了", damage, "点血");

  if (g.roster[target].hp <= 0) {
    death_line(g, target);
  } else {
    reply(g, attacker, target, damage);
  }

  follow_up(g, attacker, target);
}

}  // namespace morvane
