#pragma once

#include <cstdint>

#include "model/game.hpp"

namespace morvane {

// Whether the battle is over: at most one of teams 1 ... n has a living member. Rebuilds chrs,
// the living members per team, on every call.
bool checkwin(Game& g);

// The number of living combatants outside x's team.
std::int32_t checklivings(const Game& g, std::int32_t x);

}  // namespace morvane
