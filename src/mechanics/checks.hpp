#pragma once

#include <cstdint>

#include "model/game.hpp"

namespace morvane {

// Whether the battle is over: at most one of teams 1 ... counted_teams has a living member.
// Rebuilds standing_per_team, the living members per team, on every call.
bool check_victory(Game& g);

// The team the game names as the winner once a battle is decided: the first of teams 1 ...
// counted_teams with anyone standing in standing_per_team; 0 when nobody stands.
std::int32_t winner(const Game& g);

// Whether slot i holds a living fighter of a counted team (1 ... counted_teams).
inline bool counted(const Game& g, std::int32_t i) {
  return i >= 1 && i < g.roster.next_slot() && g.roster[i].hp > 0 && g.roster[i].team >= 1 &&
         g.roster[i].team <= g.counted_teams;
}

// The rest of battle_over: the full check, and two new fighters to watch when it goes on.
bool recount_battle_over(Game& g);

// The victory check as the round driver makes it, many times a round: while the two fighters
// that the last full check left as sentinels still stand in different counted teams, the
// battle goes on and nobody is counted; otherwise the full check. standing_per_team is therefore
// exact only when this returns true, or after check_victory. Inline: the common answer needs no
// call.
inline bool battle_over(Game& g) {
  const auto [p, q] = g.standing_per_team.sentinels();
  if (counted(g, p) && counted(g, q) && g.roster[p].team != g.roster[q].team) return false;
  return recount_battle_over(g);
}

// The number of living combatants outside x's team.
std::int32_t living_enemies(const Game& g, std::int32_t x);

}  // namespace morvane
