#pragma once

#include "model/game.hpp"

namespace morvane {

// Runs one battle on the roster as a mode filled it, round after round, until at most one team
// has anyone standing. Returns false when the game's round cap ends it first as a draw: a line
// after the last round's hit points says so.
bool run_battle(Game& g);

// Takes a battle up again at the start of a round, with the round driver's state as a round
// listener was given it (or a copy of it, in a copy of the game). Returns as run_battle() does.
bool resume_battle(Game& g, const BattleState& from);

}  // namespace morvane
