#pragma once
// The target search of a large battle without a walk over the roster. For each strategy a
// tournament tree over the slots keeps, at every node, the best fighter below it and the best
// one of another team, so the best living enemy of any team is read at the root. The trees are
// updated from the slots the rules report through Game::touched().

#include <array>
#include <cstdint>
#include <vector>

#include "model/game.hpp"

namespace morvane {

class TargetIndex {
 public:
  // Builds the index of the roster as it stands and starts listening to its changes.
  explicit TargetIndex(Game& g);
  ~TargetIndex();
  TargetIndex(const TargetIndex&) = delete;
  TargetIndex& operator=(const TargetIndex&) = delete;

  // What the search by `strategy` gives for the fighter in slot i, exactly as the walk over slots
  // 1 ... rs-1 gives it (the lowest slot on a tie, the dark rule of strategy 2), or 0 when no
  // slot qualifies.
  std::int32_t search(std::int32_t i, std::int32_t strategy);

 private:
  // An entry is one fighter's claim in one tree, packed so that a plain comparison orders
  // claims: the value, then the slot's tie-break, then the team as payload.
  using Entry = std::int64_t;
  struct Node {
    Entry best, other;  // `other` is the best entry of a team other than best's
  };
  enum Tree { kFewestHp, kMostAtk, kMostHp, kMostDef, kLastDark, kTrees };

  void refresh();
  void set_leaf(std::int32_t slot);
  static Node merge(const Node& x, const Node& y);
  static std::int32_t slot_of(Entry e, Tree tree);
  Entry best_against(Tree tree, std::int32_t team) const;

  Game& g_;
  std::array<std::vector<Node>, kTrees> trees_;
};

}  // namespace morvane
