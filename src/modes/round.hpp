#pragma once

#include "model/game.hpp"

namespace morvane {

// Runs one battle on the roster as a mode filled it, round after round, until at most
// one team has anyone standing. Returns false only when the game's round budget ran out first
// (batch runs set one, so that a battle no one can win still ends; a player's game has none).
bool game(Game& g);

}  // namespace morvane
