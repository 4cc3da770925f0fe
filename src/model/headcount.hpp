#pragma once
// Living members per team, as the last full victory check counted them.

#include <array>
#include <cstdint>

#include "model/fighter.hpp"
#include "model/slots.hpp"

namespace morvane {

class Headcount {
 public:
  std::int32_t operator[](std::int32_t team) const { return per_team_[team]; }

  // Counts the living fighters of the roster by team. Only entries up to the highest team of
  // the last count can be non-zero, so only those are cleared: the victory check runs after
  // every basic attack.
  void recount(const Roster& roster) {
    for (std::int32_t t = 0; t <= top_; ++t)
      per_team_[t] = 0;
    std::int32_t top = 0;
    for (std::int32_t i = 1; i < roster.next_slot(); ++i) {
      if (roster[i].hp > 0) {
        ++per_team_[roster[i].team];
        top = std::max(top, roster[i].team);
      }
    }
    top_ = top;
  }

  // Two living fighters of different counted teams, as the last full victory check found them:
  // while both still stand the battle is not over, and the quick check need count nobody.
  const std::array<std::int32_t, 2>& sentinels() const { return sentinels_; }
  void set_sentinels(std::int32_t first, std::int32_t second) { sentinels_ = {first, second}; }

  // Nobody counted, as in a new game.
  void clear() {
    for (std::int32_t t = 0; t <= top_; ++t)
      per_team_[t] = 0;
    top_ = 0;
    sentinels_ = {};
  }

 private:
  Slots<std::int32_t> per_team_;
  std::int32_t top_ = kMaxSlot;  // the highest team whose entry may be non-zero
  std::array<std::int32_t, 2> sentinels_{};
};

}  // namespace morvane
