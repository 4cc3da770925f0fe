#pragma once

#include <cstdint>

#include "model/game.hpp"

namespace morvane {

// Plays out slot i's status code at the start of its turn: water prison, ice block,
// frostbite, torment, bleeding, invincibility. Status damage is dealt as a hit by `attacker`, the
// last combatant that acted. Returns whether i still acts in this turn.
bool status_step(Game& g, std::int32_t i, std::int32_t attacker);

}  // namespace morvane
