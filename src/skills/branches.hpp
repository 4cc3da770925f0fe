#pragma once
// The skill branch of every attribute. Each receives the cast after its banner and runs skill
// jnbh (0 or 1). The dispatch table is the only place that maps an attribute to its branch.

#include <cstdint>

#include "skills/cast.hpp"

namespace morvane {

using Branch = void (*)(Cast&, int jnbh);

// The branch of attribute ms, or nullptr when it has none (0, 25 ... 32, anything unknown).
Branch branch_for(std::int32_t ms);

// elemental.cpp
void fire(Cast&, int jnbh);
void water(Cast&, int jnbh);
void electric(Cast&, int jnbh);
void earth(Cast&, int jnbh);
void ice(Cast&, int jnbh);
// heal_dark_summon.cpp
void healing(Cast&, int jnbh);
void dark(Cast&, int jnbh);
void summoning(Cast&, int jnbh);
// wizards_and_crafters.cpp
void tessik(Cast&, int jnbh);
void varqueb(Cast&, int jnbh);
void prane(Cast&, int jnbh);
void halvic(Cast&, int jnbh);
void creeper(Cast&, int jnbh);
// fortune_and_command.cpp
void ocean(Cast&, int jnbh);
void coin(Cast&, int jnbh);
void jiege(Cast&, int jnbh);
void commander(Cast&, int jnbh);
void bayonet_soldier(Cast&, int jnbh);
// gunners.cpp
void grenade_soldier(Cast&, int jnbh);
void machine_gunner(Cast&, int jnbh);
void mossu(Cast&, int jnbh);
void franklin(Cast&, int jnbh);
void michael(Cast&, int jnbh);
void trevor(Cast&, int jnbh);
// author.cpp
void author(Cast&, int jnbh);

}  // namespace morvane
