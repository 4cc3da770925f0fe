#pragma once

#include <cstdint>

#include "model/game.hpp"

namespace morvane {

// Whether the battle is over: at most one of teams 1 ... n has a living member. Rebuilds chrs,
// the living members per team, on every call.
bool checkwin(Game& g);

// The victory check as the round driver makes it, many times a round: while the two fighters
// that the last full check left in g.standing still stand in different counted teams, the
// battle goes on and nobody is counted; otherwise the full check. chrs is therefore exact only
// when this returns true, or after checkwin.
bool battle_over(Game& g);

// The number of living combatants outside x's team.
std::int32_t checklivings(const Game& g, std::int32_t x);

}  // namespace morvane
