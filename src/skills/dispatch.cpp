#include <array>
#include <cstddef>

#include "mechanics/narrate.hpp"
#include "model/tables.hpp"
#include "skills/skills.hpp"

namespace morvane {
namespace {

// A skill keeps the colour the turn is narrated in, or sets its own along the way.
constexpr int kOwnColor = -1;

struct Attribute {
  Skill first;   // skill 0
  Skill second;  // skill 1
  int color;     // both skills are narrated in it, from their first word on
};

// Row a is attribute a. 25 ... 32 have no skills: their casters write the banner alone.
constexpr std::array<Attribute, kAttributes + 1> kAttributeSkills = {{
    {nullptr, nullptr, kOwnColor},                 // 0: no attribute
    {fireball, fire_shield, 4},                    // 1: fire
    {tidal_core, water_prison, 1},                 // 2: water
    {lightning_storm, chain_lightning, 5},         // 3: electric
    {earth_split, earthquake, 6},                  // 4: earth
    {freezing_curse, falling_icicles, kOwnColor},  // 5: ice
    {heal, drain, kOwnColor},                      // 6: healing
    {killing_curse, shadow_blade, 3},              // 7: dark
    {chess_piece, zombie_plague, kOwnColor},       // 8: summoning
    {black_wizards, dragon_bone, 3},               // 9: tessik
    {avada_tide, torment_curse, 3},                // 10: Varqueb
    {tnt, netherite_axe, 2},                       // 11: Prane
    {creeper_egg, prane_inspiration, 1},           // 12: Halvic
    {self_destruct, self_destruct, 2},             // 13: the creeper
    {ocean_foe, ocean_friend, 1},                  // 14: vmrqtoa4817
    {odd_or_even, life_or_death_coin, 5},          // 15: w_k
    {beer, let_me_see, 6},                         // 16: 杰哥
    {sniper_rifle, call_support, 7},               // 17: 指挥官
    {bayonet, rifle, 7},                           // 18: the soldiers
    {grenade, shotgun, 7},                         // 19
    {strafe, grenade, 7},                          // 20
    {wheel_of_life, crow_tide, 7},                 // 21: mossu_ka
    {franklins_bullet_time, call_the_crew, 2},     // 22: 富兰克林
    {michaels_bullet_time, heavy_sniper, 1},       // 23: 麦克
    {invincible_time, minigun, 1},                 // 24: 崔佛
    {},
    {},
    {},
    {},
    {},
    {},
    {},
    {},                                                    // 25 ... 32
    {summon_henchman, anti_everything_cannon, kOwnColor},  // 33: the author
}};

}  // namespace

void dispatch_skill(Cast& c, std::int32_t attribute, int skill) {
  if (attribute < 0 || attribute > kAttributes) return;
  const Attribute& row = kAttributeSkills[static_cast<std::size_t>(attribute)];
  const Skill chosen = skill == 0 ? row.first : row.second;
  if (chosen == nullptr) return;
  if (row.color != kOwnColor) color(c.g, row.color);
  chosen(c);
}

}  // namespace morvane
