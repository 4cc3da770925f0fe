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
void opening_call(Game& g, std::int32_t ater, std::int32_t beat) {
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
    say(g, "\t", g.roster[ater].name, c.before);
    if (c.names_target) say(g, g.roster[beat].name, c.after);
    endl(g);
    if (c.focus) {
      call_focus_fire(g, ater, beat);
    } else {
      call_cover(g, ater);
    }
    pause(g, 1000);
    return;
  }
}

void death_line(Game& g, std::int32_t beat) {
  const std::int32_t hp = g.roster[beat].hp;
  say(g, "   ", g.roster[beat].name);
  if (hp < -499) {
    say(g, "在一道伴着巨响的强光中消失了");
  } else if (hp < -199) {
    say(g, "化为尘埃");
  } else if (g.hhs == 1) {
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
void reply(Game& g, std::int32_t ater, std::int32_t beat, std::int32_t hurts) {
  if (g.rand() % 20000 <= 12999) return;
  bool cried = false;
  if (g.roster[beat].hp <= 29 && g.rand() % 10000 > 6999) {
    line(g, "\t\t", g.roster[beat].name, ":我要倒了！掩护我！");
    call_cover(g, beat);
    pause(g, 1000);
    cried = true;
  }
  if (!cried && hurts >= g.roster[beat].max_hp / 8 && g.rand() % 10000 > 6999) {
    line(g, "\t\t", g.roster[beat].name, ":天哪，这下可真够疼的！");
    pause(g, 1000);
  }
  if (g.rand() % 10000 > 8999) {
    line(g, "\t\t", g.roster[beat].name, ":反击啊，你们这群废物！集火那个", g.roster[ater].name,
         "！");
    call_focus_fire(g, beat, ater);
    pause(g, 1000);
  }
}

void follow_up(Game& g, std::int32_t ater, std::int32_t beat) {
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
    say(g, "\t\t", g.roster[ater].name, c.text);
    if (c.focus) call_focus_fire(g, ater, beat);
    endl(g);
    pause(g, 1000);
    return;
  }
}

}  // namespace

void attack(Game& g, std::int32_t ater, std::int32_t beat, std::int32_t atks) {
  const std::int32_t defs = g.roster[beat].def;
  const std::int32_t ratk = wsub(wadd(g.rand() % 50, atks), 20);
  std::int32_t hurts = wsub(ratk, defs);

  opening_call(g, ater, beat);

  if (g.rand() % 1000 > 899 && g.roster[beat].status <= 0) {
    line(g, "但是", g.roster[beat].name, "闪开了");
    pause(g, 500);
    return;
  }

  if (g.roster[ater].casting_ultimate) hurts = wmul(g.roster[ater].ultimate_level, hurts);

  if (g.rand() % 7 == 3) {
    hurts = wmul(hurts, 2);
    say(g, "打出了暴击，");
  }

  if (hurts <= 0) {
    line(g, g.roster[beat].name, "防御了");
    return;
  }

  g.roster[beat].hp = wsub(g.roster[beat].hp, hurts);
  g.touched(beat);
  line(g, g.roster[beat].name, "掉了", hurts, "点血");

  if (g.roster[beat].hp <= 0) {
    death_line(g, beat);
  } else {
    reply(g, ater, beat, hurts);
  }

  follow_up(g, ater, beat);
}

}  // namespace morvane
