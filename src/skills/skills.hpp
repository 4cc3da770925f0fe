#pragma once
// Every skill of the game, one function each. The dispatch table is the only place that maps an
// attribute to its two skills and the colour they are narrated in; each skill receives the cast
// after its banner, in that colour.

#include <cstdint>

#include "skills/cast.hpp"

namespace morvane {

using Skill = void (*)(Cast&);

// Casts skill 0 or 1 of an attribute in its colour, once cast() has written the banner. An
// attribute without skills (0, 25 ... 32, anything unknown) does nothing: its banner stands
// alone.
void dispatch_skill(Cast& c, std::int32_t attribute, int skill);

// elemental.cpp
void fireball(Cast&);
void fire_shield(Cast&);
void tidal_core(Cast&);
void water_prison(Cast&);
void lightning_storm(Cast&);
void chain_lightning(Cast&);
void earth_split(Cast&);
void earthquake(Cast&);
void freezing_curse(Cast&);
void falling_icicles(Cast&);
// heal_dark_summon.cpp
void heal(Cast&);
void drain(Cast&);
void killing_curse(Cast&);
void shadow_blade(Cast&);
void chess_piece(Cast&);
void zombie_plague(Cast&);
// wizards_and_crafters.cpp
void black_wizards(Cast&);
void dragon_bone(Cast&);
void avada_tide(Cast&);
void torment_curse(Cast&);
void tnt(Cast&);
void netherite_axe(Cast&);
void creeper_egg(Cast&);
void prane_inspiration(Cast&);
void self_destruct(Cast&);
// fortune_and_command.cpp
void ocean_foe(Cast&);
void ocean_friend(Cast&);
void odd_or_even(Cast&);
void life_or_death_coin(Cast&);
void beer(Cast&);
void let_me_see(Cast&);
void sniper_rifle(Cast&);
void call_support(Cast&);
void bayonet(Cast&);
void rifle(Cast&);
// gunners.cpp
void grenade(Cast&);
void shotgun(Cast&);
void strafe(Cast&);
void wheel_of_life(Cast&);
void crow_tide(Cast&);
void franklins_bullet_time(Cast&);
void call_the_crew(Cast&);
void michaels_bullet_time(Cast&);
void heavy_sniper(Cast&);
void invincible_time(Cast&);
void minigun(Cast&);
// author.cpp
void summon_henchman(Cast&);
void anti_everything_cannon(Cast&);

}  // namespace morvane
