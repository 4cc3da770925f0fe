#pragma once
// 32-bit arithmetic that wraps around like the game's integers always have.
//
// Hit points, attack values and stats are 32-bit signed and overflow on purpose: the author's
// 2147483647 hit points turn negative when a henchman heals him, and an invincible defence
// cancels out of the damage it is added to. Signed overflow is undefined in C++, so every sum,
// difference or product that can leave the range is computed in uint32_t and cast back.

#include <cstdint>

namespace morvane {

constexpr std::int32_t wadd(std::int32_t x, std::int32_t y) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(x) + static_cast<std::uint32_t>(y));
}

constexpr std::int32_t wsub(std::int32_t x, std::int32_t y) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(x) - static_cast<std::uint32_t>(y));
}

constexpr std::int32_t wmul(std::int32_t x, std::int32_t y) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(x) * static_cast<std::uint32_t>(y));
}

// x * a / b, as the game scales a stat: the product wraps around first, then the division
// truncates toward zero.
constexpr std::int32_t wmuldiv(std::int32_t x, std::int32_t a, std::int32_t b) {
  return wmul(x, a) / b;
}

}  // namespace morvane
