#include "modes/target_index.hpp"

#include <algorithm>

#include "model/codes.hpp"

namespace morvane {
namespace {

constexpr auto kTable = static_cast<std::size_t>(kMaxSlot + 1);

}  // namespace

TargetIndex::TargetIndex(Game& g)
    : g_(g), members_(kTable), fallen_(kTable, 0), in_(kTable, -1), at_(kTable, -1) {
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i)
    update(i);
  g.roster.watch();
}

TargetIndex::~TargetIndex() {
  g_.roster.unwatch();
}

void TargetIndex::update(std::int32_t slot) {
  if (slot < 1 || slot > kMaxSlot) return;
  const auto k = static_cast<std::size_t>(slot);
  const Fighter& x = g_.roster[slot];
  const bool counted = slot < g_.roster.next_slot() && x.team >= 0 && x.team <= kMaxSlot;
  const std::int32_t team = counted ? x.team : -1;
  if (in_[k] != -1 && in_[k] != team) {
    // It left its team (or the roster): what is left in the old list is a fallen member.
    Member& old = members_[static_cast<std::size_t>(in_[k])][static_cast<std::size_t>(at_[k])];
    if (old.hp > 0) ++fallen_[static_cast<std::size_t>(in_[k])];
    old.hp = 0;
    in_[k] = -1;
  }
  if (team == -1) return;
  const Member m{slot, x.hp, x.atk, x.def, x.attribute == attribute::kDark};
  const auto t = static_cast<std::size_t>(team);
  std::vector<Member>& list = members_[t];
  if (in_[k] == team) {
    Member& here = list[static_cast<std::size_t>(at_[k])];
    fallen_[t] += (m.hp <= 0) - (here.hp <= 0);
    here = m;
    return;
  }
  if (m.hp <= 0) return;  // the fallen need no place
  if (list.empty()) teams_.push_back(team);
  // Newcomers take the next free slot, so they nearly always go last.
  auto pos = list.end();
  if (!list.empty() && list.back().slot > slot) {
    pos = std::lower_bound(list.begin(), list.end(), slot,
                           [](const Member& e, std::int32_t s) { return e.slot < s; });
  }
  const auto index = static_cast<std::size_t>(pos - list.begin());
  list.insert(pos, m);
  // Those after it moved one place on; from the end, so that a fallen copy of a slot never
  // takes the place its living entry has just been given.
  for (std::size_t j = list.size() - 1; j > index; --j) {
    const auto s = static_cast<std::size_t>(list[j].slot);
    if (in_[s] == team && at_[s] == static_cast<std::int32_t>(j - 1))
      at_[s] = static_cast<std::int32_t>(j);
  }
  in_[k] = team;
  at_[k] = static_cast<std::int32_t>(index);
}

void TargetIndex::sweep(std::int32_t team) {
  const auto t = static_cast<std::size_t>(team);
  std::vector<Member>& list = members_[t];
  std::size_t kept = 0;
  for (std::size_t j = 0; j < list.size(); ++j) {
    const auto k = static_cast<std::size_t>(list[j].slot);
    const bool current = in_[k] == team && at_[k] == static_cast<std::int32_t>(j);
    if (list[j].hp > 0) {
      list[kept] = list[j];
      at_[k] = static_cast<std::int32_t>(kept++);
    } else if (current) {
      in_[k] = -1;
    }
  }
  list.resize(kept);
  fallen_[t] = 0;
  if (list.empty()) teams_.erase(std::find(teams_.begin(), teams_.end(), team));
}

void TargetIndex::catch_up() {
  for (const std::int32_t slot : g_.roster.changes())
    update(slot);
  g_.roster.forget_changes();
  for (std::size_t k = 0; k < teams_.size();) {
    const std::int32_t team = teams_[k];
    // A long list mostly of the fallen is swept; a short one costs little to walk as it is.
    const std::vector<Member>& list = members_[static_cast<std::size_t>(team)];
    if (list.size() > 32 &&
        2 * fallen_[static_cast<std::size_t>(team)] > static_cast<std::int32_t>(list.size())) {
      sweep(team);  // may drop teams_[k]
      if (k < teams_.size() && teams_[k] == team) ++k;
    } else {
      ++k;
    }
  }
}

TargetIndex::Found TargetIndex::best_of(const std::vector<Member>& members, std::int32_t strategy) {
  // The walk keeps a value only when it beats the best so far, strictly: of equal values the
  // first slot stays. Strategy 0 starts at 1000, the others at -100.
  Found f{strategy == 0 ? 1000 : -100, 0, 0};
  switch (strategy) {
    case 0:
      for (const Member& m : members)
        if (m.hp > 0 && m.hp < f.value) f.value = m.hp, f.slot = m.slot;
      break;
    case 1:
      for (const Member& m : members)
        if (m.hp > 0 && m.atk > f.value) f.value = m.atk, f.slot = m.slot;
      break;
    case 2:
      for (const Member& m : members) {
        if (m.hp <= 0) continue;
        if (m.hp > f.value) f.value = m.hp, f.slot = m.slot;
        if (m.dark) f.dark = m.slot;
      }
      break;
    default:
      for (const Member& m : members)
        if (m.hp > 0 && m.def > f.value) f.value = m.def, f.slot = m.slot;
      break;
  }
  return f;
}

std::int32_t TargetIndex::search(std::int32_t i, std::int32_t strategy) {
  catch_up();
  const std::int32_t own = g_.roster[i].team;
  Found best{0, 0, 0};
  for (const std::int32_t team : teams_) {
    if (team == own) continue;
    const Found f = best_of(members_[static_cast<std::size_t>(team)], strategy);
    if (f.slot != 0) {
      // Across teams as the walk across slots: the better value, the lower slot on a tie.
      const bool better = strategy == 0 ? f.value < best.value : f.value > best.value;
      if (best.slot == 0 || better || (f.value == best.value && f.slot < best.slot)) {
        best.value = f.value;
        best.slot = f.slot;
      }
    }
    best.dark = std::max(best.dark, f.dark);
  }
  // Strategy 2: the last slot that either is dark or holds more hit points than every enemy
  // before it, i.e. the last dark enemy or the first with the most hit points, whichever is later.
  return strategy == 2 ? std::max(best.slot, best.dark) : best.slot;
}

}  // namespace morvane
