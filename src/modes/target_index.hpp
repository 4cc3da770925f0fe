#pragma once
// The target search of a large battle without a walk over the whole roster. Every target is a
// living enemy, and in a large battle most of the roster soon lies dead or is on the searcher's
// own side: the index keeps, per team, its members in slot order with the values the searches
// read (hit points, attack, defence, whether dark), so a search walks only the other teams'
// members, in a tight array. The fallen stay in their team's list, skipped, until they are half
// of it; then the list is swept. It is kept up to date from the slots the roster's setters
// report.

#include <cstdint>
#include <vector>

#include "model/game.hpp"

namespace morvane {

class TargetIndex {
 public:
  // Indexes the roster as it stands and starts listening to its changes.
  explicit TargetIndex(Game& g);
  ~TargetIndex();
  TargetIndex(const TargetIndex&) = delete;
  TargetIndex& operator=(const TargetIndex&) = delete;

  // What the search by `strategy` gives for the fighter in slot i, exactly as the walk over slots
  // 1 ... next_slot-1 of the roster gives it (the lowest slot on a tie, the dark rule of strategy
  // 2), or 0 when no slot qualifies.
  std::int32_t search(std::int32_t i, std::int32_t strategy);

 private:
  struct Member {
    std::int32_t slot, hp, atk, def;
    bool dark;
  };
  // The best of one team's list by `strategy`, as the walk would find it among them alone.
  struct Found {
    std::int32_t value, slot, dark;  // dark: the last dark member (strategy 2), or 0
  };
  static Found best_of(const std::vector<Member>& members, std::int32_t strategy);
  void catch_up();
  void update(std::int32_t slot);
  void sweep(std::int32_t team);

  Game& g_;
  std::vector<std::vector<Member>> members_;  // by team number, in slot order
  std::vector<std::int32_t> fallen_;          // by team number: members at 0 hit points or less
  std::vector<std::int32_t> in_;              // by slot: the team whose list holds it, or -1
  std::vector<std::int32_t> at_;              // by slot: where in that list
  std::vector<std::int32_t> teams_;           // team numbers whose list is not empty
};

}  // namespace morvane
