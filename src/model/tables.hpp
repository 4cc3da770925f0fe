#pragma once
// The skills of every attribute: their names and how often they are cast.

#include <array>
#include <cstdint>
#include <string_view>

namespace morvane {

inline constexpr std::int32_t kAttributes = 33;  // attributes 1 ... 33 have rows

using SkillNames = std::array<std::array<std::string_view, 2>, kAttributes>;
using SkillThresholds = std::array<std::array<std::int32_t, 2>, kAttributes>;

// skill_names[attribute-1][k] is the name of skill k of attribute attribute. 25 ... 32 are empty.
extern const SkillNames kSkillNames;
// skill_thresholds[attribute-1][k]: a skill is cast when rand() % 100 + 1 reaches its threshold,
// so a higher threshold is a rarer skill and 0 means always.
extern const SkillThresholds kSkillThresholds;

}  // namespace morvane
