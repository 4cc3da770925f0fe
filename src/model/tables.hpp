#pragma once
// The skills of every attribute: their names and how often they are cast.

#include <array>
#include <cstdint>
#include <string_view>

namespace morvane {

inline constexpr std::int32_t kAttributes = 33;  // attributes 1 ... 33 have rows

using SkillNames = std::array<std::array<std::string_view, 2>, kAttributes>;
using SkillThresholds = std::array<std::array<std::int32_t, 2>, kAttributes>;

// Row a-1 holds the names of the two skills of attribute a. 25 ... 32 are empty.
extern const SkillNames kSkillNames;
// Row a-1, as kSkillNames: a skill is cast when rand() % 100 + 1 reaches its threshold, so a
// higher threshold is a rarer skill and 0 means always.
extern const SkillThresholds kSkillThresholds;

}  // namespace morvane
