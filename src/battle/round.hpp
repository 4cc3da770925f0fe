#pragma once

#include "model/game.hpp"

namespace morvane {

// Runs one battle ("战斗") on the roster as a mode filled it, round after round, until at most
// one team has anyone standing. `max_rounds` > 0 cuts a battle no one can win (used only by
// batch runs); returns false when the cut happened.
bool game(Game& g, long max_rounds = 0);

}  // namespace morvane
