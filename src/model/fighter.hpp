#pragma once
// The records of the battle: one per combatant, one per team.

#include <cstdint>
#include <string>

namespace morvane {

struct Fighter {                    // one combatant
  std::string name;                 // as typed, or a fixed name given by a mode or a skill
  std::int32_t max_hp = 0;          // maximum hit points; heals are measured against it
  std::int32_t hp = 0;              // current hit points; dead at 0 or below, never clamped
  std::int32_t atk = 0;             // attack value of a basic attack
  std::int32_t def = 0;             // defence, taken off every hit
  std::int32_t magic = 0;           // magic; most skills scale with it
  std::int32_t attribute = 0;       // attribute: selects the two skills; 0 = basic attacks only
  std::int32_t team = 0;            // team number; equal teams are allies
  std::int32_t status = 0;          // status code, see model/codes.hpp
  std::int32_t curse_stacks = 0;    // the stacks of the dark killing curse
  std::int32_t ultimate_level = 0;  // ultimate level; each ultimate raises it
  bool casting_ultimate = false;    // true while an ultimate is being cast
};

struct TeamCalls {               // one team's calls
  std::int32_t needs_cover = 0;  // the member who last called for cover
  std::int32_t focus = 0;        // the enemy the team last agreed to focus fire on
};

}  // namespace morvane
