#include "modes/round.hpp"

#include <cassert>
#include <cstdint>
#include <memory>
#include <string>

#include "mechanics/attack.hpp"
#include "mechanics/checks.hpp"
#include "mechanics/narrate.hpp"
#include "mechanics/status.hpp"
#include "model/codes.hpp"
#include "model/wrap.hpp"
#include "modes/target_index.hpp"
#include "skills/cast.hpp"

namespace morvane {
namespace {

// What one battle carries from turn to turn until it ends.
struct Battle : BattleState {
  Battle(Game& game, const BattleState& from) : BattleState(from), g(game) {
    if (g.roster.next_slot() - 1 >= g.options.index_from) index = std::make_unique<TargetIndex>(g);
  }

  Game& g;
  std::unique_ptr<TargetIndex> index;  // for large battles only

  // One strategy's walk over a small roster, written without branches inside: which fighters
  // qualify changes from turn to turn, and a mispredicted branch costs more than the walk. The
  // enemy with the lowest (or highest) value of one field beyond `best`, the lowest slot on a tie;
  // with `Dark`, a dark enemy met later takes the place. 0 when no enemy qualifies.
  template <std::int32_t Fighter::*Field, bool Lowest, bool Dark = false>
  std::int32_t walk(std::int32_t team, std::int32_t best) const {
    const std::int32_t next_slot = g.roster.next_slot();
    std::int32_t found = 0;
    for (std::int32_t j = 1; j < next_slot; ++j) {
      const Fighter& e = g.roster[j];
      const bool enemy = (e.hp > 0) & (e.team != team);
      const bool take = enemy & (Lowest ? e.*Field < best : e.*Field > best);
      best = take ? e.*Field : best;
      found = take | (Dark & enemy & (e.attribute == attribute::kDark)) ? j : found;
    }
    return found;
  }

  // Strategy 0: the weakest enemy under 1000 hit points; 1: the strongest attack; 2: the most
  // hit points, but a dark enemy met later takes the place; 3: the highest defence.
  std::int32_t search(std::int32_t i, std::int32_t strategy) const {
    const std::int32_t team = g.roster[i].team;
    switch (strategy) {
      case 0:
        return walk<&Fighter::hp, true>(team, 1000);
      case 1:
        return walk<&Fighter::atk, false>(team, -100);
      case 2:
        return walk<&Fighter::hp, false, true>(team, -100);
      default:
        return walk<&Fighter::def, false>(team, -100);
    }
  }

  // A search that finds nothing keeps the previous target.
  void choose_target(std::int32_t i) {
    const std::int32_t strategy = g.rand() % 4;
    std::int32_t found = 0;
    if (index) {
      found = index->search(i, strategy);
      assert(found == search(i, strategy));
    } else {
      found = search(i, strategy);
    }
    if (found != 0) target = found;
  }

  // Before anyone has chosen a target this battle: the first living enemy, else the first enemy,
  // else the actor itself. No draw is taken for it.
  void first_target(std::int32_t i) {
    std::int32_t any = 0;
    for (std::int32_t j = 1; j < g.roster.next_slot(); ++j) {
      if (g.roster[j].team == g.roster[i].team) continue;
      if (g.roster[j].hp > 0) {
        target = j;
        return;
      }
      if (any == 0) any = j;
    }
    target = any != 0 ? any : i;
  }

  // Skill 0 is tried first, then skill 1, each on a draw of 1 ... 100 that reaches its
  // threshold. Returns whether a skill was cast.
  bool try_skills(const Fighter& x) {
    for (int skill = 0; skill < 2; ++skill) {
      if (g.rand() % 100 + 1 >= skill_threshold(g, x.attribute, skill)) {
        cast(g, attacker, skill, target);
        pause(g, 700);
        return true;
      }
    }
    return false;
  }

  enum class Turn { Next, BattleOver };

  Turn turn(std::int32_t i) {
    color(g, 0);
    const Fighter& x = g.roster[i];
    if (x.hp <= 0) return Turn::Next;
    // The author is above every status: his code is wiped before it can act on him.
    if (x.attribute == attribute::kAuthor) {
      color(g, g.rand() % 8);
      g.roster.set_status(i, status::kNone);
    }
    // Most turns carry no status at all: no step to take.
    if (x.status != status::kNone && !status_step(g, i, attacker != 0 ? attacker : i))
      return Turn::Next;
    // A combatant that its status damage has just killed still acts in this turn.
    attacker = i;
    choose_target(i);
    if (g.rand() % 100 > 29) {
      const std::int32_t c = g.team_calls[x.team].focus;
      if (g.roster[c].hp > 0) target = c;
    }
    if (target == 0) first_target(i);
    if (x.attribute != attribute::kNone && try_skills(x)) return Turn::Next;

    say(g, g.roster[attacker].name, "发动攻击，");
    attack(g, attacker, target, g.roster[i].atk);
    pause(g, 700);
    color(g, 0);
    return battle_over(g) ? Turn::BattleOver : Turn::Next;
  }

  enum class RoundEnd { Next, Won, Draw };

  RoundEnd round_end() {
    color(g, 0);
    if (battle_over(g)) return RoundEnd::Won;
    // Said only when someone listens: the walk over the roster is not free.
    if (!g.options.silent) {
      say(g, "回合结束，目前血量：");
      for (std::int32_t i = 1; i < g.roster.next_slot(); ++i)
        say(g, g.roster[i].hp, " ");
    }
    g.round_count = wadd(g.round_count, 1);  // a battle no one can win may run for ever
    pause(g, 1000);
    endl(g);
    pause(g, 500);
    color(g, 0);
    // From here on the victory check looks at team numbers up to the roster's size, summons
    // included, rather than the team count typed at set-up: a team numbered past it is no longer
    // counted.
    g.counted_teams = g.roster.next_slot() - 1;
    ++rounds;
    if (g.options.max_rounds > 0 && rounds >= g.options.max_rounds) {
      line(g, "战斗超过", std::to_string(g.options.max_rounds), "回合仍未分出胜负，判为平局");
      pause(g, 1000);
      // Whoever reads standing_per_team after the battle reads the full count.
      check_victory(g);
      return RoundEnd::Draw;
    }
    if (g.on_round_end != nullptr) g.on_round_end->round_ended(g, *this);
    return RoundEnd::Next;
  }

  bool run() {
    for (;;) {
      color(g, 0);
      if (battle_over(g)) return true;
      // next_slot is read afresh before every slot: a fighter summoned in this round acts in it
      // too.
      for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
        if (turn(i) == Turn::BattleOver) return true;
      }
      const RoundEnd end = round_end();
      if (end != RoundEnd::Next) return end == RoundEnd::Won;
    }
  }
};

}  // namespace

bool resume_battle(Game& g, const BattleState& from) {
  g.console.battle_begins();
  const bool decided = Battle(g, from).run();
  g.console.battle_ends();
  return decided;
}

bool run_battle(Game& g) {
  return resume_battle(g, BattleState{});
}

}  // namespace morvane
