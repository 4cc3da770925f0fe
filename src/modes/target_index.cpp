#include "modes/target_index.hpp"

#include <algorithm>
#include <limits>

#include "model/codes.hpp"

namespace morvane {
namespace {

constexpr std::int32_t kLeaves = 1024;  // slots 0 ... 1023 cover the roster's 1 ... 1004
static_assert(kLeaves > kMaxSlot);
constexpr std::int64_t kEmpty = std::numeric_limits<std::int64_t>::min();
constexpr std::int32_t kTieBits = 11, kTeamBits = 10;
static_assert(kMaxSlot < (1 << kTieBits) && kMaxSlot < (1 << kTeamBits));

std::int32_t team_of(std::int64_t e) {
  return static_cast<std::int32_t>(e & ((1 << kTeamBits) - 1));
}

// A claim of `value`; of equal values the larger `tie` wins.
std::int64_t entry(std::int64_t value, std::int32_t tie, std::int32_t team) {
  return value * (std::int64_t{1} << (kTieBits + kTeamBits)) + (std::int64_t{tie} << kTeamBits) +
         team;
}

}  // namespace

TargetIndex::TargetIndex(Game& g) : g_(g) {
  for (auto& tree : trees_)
    tree.assign(2 * kLeaves, Node{kEmpty, kEmpty});
  for (std::int32_t i = 1; i < g.rs; ++i)
    set_leaf(i);
  for (auto& tree : trees_) {
    for (std::int32_t k = kLeaves - 1; k >= 1; --k) {
      const auto u = static_cast<std::size_t>(k);
      tree[u] = merge(tree[2 * u], tree[2 * u + 1]);
    }
  }
  g.changed.clear();
  g.watching = true;
}

TargetIndex::~TargetIndex() {
  g_.watching = false;
  g_.changed.clear();
}

TargetIndex::Node TargetIndex::merge(const Node& x, const Node& y) {
  const Node& hi = x.best >= y.best ? x : y;
  const Node& lo = x.best >= y.best ? y : x;
  // lo's best, if of another team than hi's, else lo's best of another team (whose team then
  // differs from hi's too).
  const Entry lo_other = team_of(lo.best) != team_of(hi.best) ? lo.best : lo.other;
  return {hi.best, std::max(hi.other, lo_other)};
}

void TargetIndex::set_leaf(std::int32_t slot) {
  const auto u = static_cast<std::size_t>(kLeaves + slot);
  for (auto& tree : trees_)
    tree[u] = {kEmpty, kEmpty};
  if (slot < 1 || slot >= g_.rs || slot >= kLeaves) return;
  const rw& x = g_.a[slot];
  if (x.hp <= 0) return;
  const std::int32_t first = (1 << kTieBits) - 1 - slot;  // the lower slot wins a tie
  const std::int32_t team = x.team & ((1 << kTeamBits) - 1);
  if (x.hp < 1000) trees_[kFewestHp][u].best = entry(-std::int64_t{x.hp}, first, team);
  if (x.atk > -100) trees_[kMostAtk][u].best = entry(x.atk, first, team);
  trees_[kMostHp][u].best = entry(x.hp, first, team);
  if (x.def > -100) trees_[kMostDef][u].best = entry(x.def, first, team);
  if (x.sx == sx::kDark) trees_[kLastDark][u].best = entry(0, slot, team);
}

void TargetIndex::refresh() {
  for (const std::int32_t slot : g_.changed) {
    set_leaf(slot);
    for (auto& tree : trees_) {
      for (auto u = static_cast<std::size_t>(kLeaves + slot) / 2; u >= 1; u /= 2)
        tree[u] = merge(tree[2 * u], tree[2 * u + 1]);
    }
  }
  g_.changed.clear();
}

std::int32_t TargetIndex::slot_of(Entry e, Tree tree) {
  if (e == kEmpty) return 0;
  const auto tie = static_cast<std::int32_t>((e >> kTeamBits) & ((1 << kTieBits) - 1));
  return tree == kLastDark ? tie : (1 << kTieBits) - 1 - tie;
}

TargetIndex::Entry TargetIndex::best_against(Tree tree, std::int32_t team) const {
  const Node& root = trees_[tree][1];
  if (root.best == kEmpty) return kEmpty;
  return team_of(root.best) != (team & ((1 << kTeamBits) - 1)) ? root.best : root.other;
}

std::int32_t TargetIndex::search(std::int32_t i, std::int32_t strategy) {
  refresh();
  const std::int32_t team = g_.a[i].team;
  switch (strategy) {
    case 0:
      return slot_of(best_against(kFewestHp, team), kFewestHp);
    case 1:
      return slot_of(best_against(kMostAtk, team), kMostAtk);
    case 2:
      // The last slot that either is dark or holds more hit points than every enemy before it:
      // the last dark enemy, or the first of those with the most hit points, whichever is later.
      return std::max(slot_of(best_against(kMostHp, team), kMostHp),
                      slot_of(best_against(kLastDark, team), kLastDark));
    default:
      return slot_of(best_against(kMostDef, team), kMostDef);
  }
}

}  // namespace morvane
