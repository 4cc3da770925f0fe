#include <array>
#include <cstddef>

#include "model/tables.hpp"
#include "skills/skills.hpp"

namespace morvane {
namespace {

struct Pair {
  Skill first;   // skill 0
  Skill second;  // skill 1
};

// Row sx is attribute sx. 25 ... 32 have no skills: their casters write the banner alone.
constexpr std::array<Pair, kAttributes + 1> kSkills = {{
    {nullptr, nullptr},  // 0: no attribute, no skills
    {fireball, fire_shield},
    {tidal_core, water_prison},
    {lightning_storm, chain_lightning},
    {earth_split, earthquake},
    {freezing_curse, falling_icicles},
    {heal, drain},
    {killing_curse, shadow_blade},
    {chess_piece, zombie_plague},
    {black_wizards, dragon_bone},       // 9: tessik
    {avada_tide, torment_curse},        // 10: Varqueb
    {tnt, netherite_axe},               // 11: Prane
    {creeper_egg, prane_inspiration},   // 12: Halvic
    {self_destruct, self_destruct},     // 13: the creeper
    {ocean_foe, ocean_friend},          // 14: vmrqtoa4817
    {odd_or_even, life_or_death_coin},  // 15: w_k
    {beer, let_me_see},                 // 16: 杰哥
    {sniper_rifle, call_support},       // 17: 指挥官
    {bayonet, rifle},                   // 18 ... 20: the soldiers
    {grenade, shotgun},
    {strafe, grenade},
    {wheel_of_life, crow_tide},              // 21: mossu_ka
    {franklins_bullet_time, call_the_crew},  // 22: 富兰克林
    {michaels_bullet_time, heavy_sniper},    // 23: 麦克
    {invincible_time, minigun},              // 24: 崔佛
    {},
    {},
    {},
    {},
    {},
    {},
    {},
    {},                                         // 25 ... 32
    {summon_henchman, anti_everything_cannon},  // 33: the author
}};

}  // namespace

Skill skill_for(std::int32_t sx, int jnbh) {
  if (sx < 0 || sx > kAttributes) return nullptr;
  const Pair& pair = kSkills[static_cast<std::size_t>(sx)];
  return jnbh == 0 ? pair.first : pair.second;
}

}  // namespace morvane
