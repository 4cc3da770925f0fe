#pragma once
// The numbers the rules test: status codes, attributes and the largest 32-bit value.

#include <cstdint>

namespace morvane {

inline constexpr std::int32_t kInt32Max = 2147483647;

// Status codes ("状态", Fighter::status). Most statuses are a range the code walks through, one
// step per turn of the bearer.
namespace status {
inline constexpr std::int32_t kNone = 0;
// 1 ... 6: the water prison; each turn inside makes breaking free likelier.
inline constexpr std::int32_t kWaterPrison = 1;
inline constexpr std::int32_t kWaterPrisonLast = 6;
// 8 ... 11: frozen in an ice block; it melts when the code reaches 11.
inline constexpr std::int32_t kIceBlock = 8;
inline constexpr std::int32_t kIceBlockLast = 11;
inline constexpr std::int32_t kIceMelted = 11;
// The author's cannon freezes its target one step before the melt: the shot cannot be dodged.
inline constexpr std::int32_t kCannonIce = 10;
inline constexpr std::int32_t kFrostbite = 12;
// 15 -> 14 -> 13: the torment counts down, each tick hurting more, and ends in frostbite.
inline constexpr std::int32_t kTorment = 15;
inline constexpr std::int32_t kTormentLast = 13;
// 16 ... 19: four ticks of bleeding; the code then rests at 20, which does nothing.
inline constexpr std::int32_t kBleeding = 16;
inline constexpr std::int32_t kBleedingLast = 19;
// 22 ... k+21 with k = magic / 10: invincible until the k-th turn.
inline constexpr std::int32_t kInvincible = 22;
}  // namespace status

// Attributes ("属性", Fighter::attribute) that some rule singles out.
namespace attribute {
inline constexpr std::int32_t kNone = 0;
inline constexpr std::int32_t kDark = 7;             // the killing curse; strategy 2 seeks it
inline constexpr std::int32_t kPrane = 11;           // what Halvic learns to be
inline constexpr std::int32_t kCreeper = 13;         // Halvic's summon
inline constexpr std::int32_t kBayonetSoldier = 18;  // the commander's soldiers are 18 ... 20
inline constexpr std::int32_t kMichael = 23;         // 麦克, called by 富兰克林
inline constexpr std::int32_t kTrevor = 24;          // 崔佛, called by 富兰克林
inline constexpr std::int32_t kAuthor = 33;          // above every status
}  // namespace attribute

}  // namespace morvane
