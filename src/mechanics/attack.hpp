#pragma once

#include <cstdint>

#include "model/game.hpp"

namespace morvane {

// One hit with attack value `value` by slot `attacker` on slot `target`: the spread, the chatter
// between team mates, the dodge, the ultimate multiplier, the critical hit, the damage and the
// death line. Every hit of the game, skills and status damage included, comes through here. The
// caller may leave a line open; the first piece written here continues it.
void attack(Game& g, std::int32_t attacker, std::int32_t target, std::int32_t value);

}  // namespace morvane
