#include "battle/round.hpp"

#include <cstdint>

#include "battle/attack.hpp"
#include "battle/checks.hpp"
#include "battle/status.hpp"
#include "model/wrap.hpp"
#include "skills/cast.hpp"

namespace morvane {
namespace {

// The locals of one battle; they live from turn to turn until the battle ends.
struct Battle {
  Game& g;
  std::int32_t ater = 0;  // the last combatant whose turn reached its action; 0 before any
  std::int32_t beat = 0;  // the current target; kept when a search finds nothing; 0 before any
  std::int32_t minx = 0;  // running extreme of the target search
  std::int32_t knx = 0;   // target strategy of the turn, 0 ... 3
  std::int32_t jn = 0;    // skill draw, 1 ... 100

  bool living_enemy(std::int32_t i, std::int32_t j) const {
    return g.a[j].hp > 0 && g.a[j].team != g.a[i].team;
  }

  // knx 0: the weakest enemy under 1000 hit points; 1: the strongest attack; 2: the most hit
  // points, but a dark enemy met later takes the place; 3: the highest defence.
  void choose_target(std::int32_t i) {
    knx = g.rand() % 4;
    minx = knx == 0 ? 1000 : -100;
    for (std::int32_t j = 1; j < g.rs; ++j) {
      if (!living_enemy(i, j)) continue;
      const rw& e = g.a[j];
      switch (knx) {
        case 0:
          if (e.hp < minx) minx = e.hp, beat = j;
          break;
        case 1:
          if (e.atk > minx) minx = e.atk, beat = j;
          break;
        case 2:
          if (e.hp > minx) minx = e.hp, beat = j;
          if (e.sx == 7) beat = j;
          break;
        default:
          if (e.def > minx) minx = e.def, beat = j;
          break;
      }
    }
  }

  // Before anyone has chosen a target this battle: the first living enemy, else the first enemy,
  // else the actor itself. No draw is taken for it.
  void first_target(std::int32_t i) {
    std::int32_t any = 0;
    for (std::int32_t j = 1; j < g.rs; ++j) {
      if (g.a[j].team == g.a[i].team) continue;
      if (g.a[j].hp > 0) {
        beat = j;
        return;
      }
      if (any == 0) any = j;
    }
    beat = any != 0 ? any : i;
  }

  enum class Turn { Next, BattleOver };

  Turn turn(std::int32_t i) {
    color(g, 0);
    rw& x = g.a[i];
    if (x.hp <= 0) return Turn::Next;
    // The author is above every status: his code is wiped before it can act on him.
    if (x.sx == 33) {
      color(g, g.rand() % 8);
      x.zt = 0;
    }
    if (!status_step(g, i, ater != 0 ? ater : i)) return Turn::Next;
    // A combatant that its status damage has just killed still acts in this turn.
    ater = i;
    choose_target(i);
    if (g.rand() % 100 > 29) {
      const std::int32_t c = g.b[x.team].converge;
      if (g.a[c].hp > 0) beat = c;
    }
    if (beat == 0) first_target(i);

    if (x.sx != 0) {
      jn = g.rand() % 100 + 1;
      if (jn >= skill_threshold(g, x.sx, 0)) {
        cljn(g, ater, 0, beat);
        pause(g, 700);
        return Turn::Next;
      }
      jn = g.rand() % 100 + 1;
      if (jn >= skill_threshold(g, x.sx, 1)) {
        cljn(g, ater, 1, beat);
        pause(g, 700);
        return Turn::Next;
      }
    }

    say(g, g.a[ater].name, "发动攻击，");
    attack(g, ater, beat, g.a[i].atk);
    pause(g, 700);
    color(g, 0);
    return checkwin(g) ? Turn::BattleOver : Turn::Next;
  }

  // Returns whether the battle ended at the round's end.
  bool round_end() {
    color(g, 0);
    if (checkwin(g)) return true;
    say(g, "回合结束，目前血量：");
    for (std::int32_t i = 1; i < g.rs; ++i)
      say(g, g.a[i].hp, " ");
    g.hhs = wadd(g.hhs, 1);  // a battle no one can win may run for ever
    pause(g, 1000);
    endl(g);
    pause(g, 500);
    color(g, 0);
    g.n = g.rs - 1;
    return false;
  }
};

bool fight(Game& g) {
  Battle battle{g};
  for (;;) {
    color(g, 0);
    if (checkwin(g)) return true;
    if (g.round_budget == 0) return false;
    if (g.round_budget > 0) --g.round_budget;
    // rs is read afresh before every slot: a fighter summoned in this round acts in it too.
    for (std::int32_t i = 1; i < g.rs; ++i) {
      if (battle.turn(i) == Battle::Turn::BattleOver) return true;
    }
    if (battle.round_end()) return true;
  }
}

}  // namespace

bool game(Game& g) {
  g.con.battle_begins();
  const bool decided = fight(g);
  g.con.battle_ends();
  return decided;
}

}  // namespace morvane
