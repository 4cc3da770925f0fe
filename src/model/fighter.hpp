#pragma once
// The records of the battle: one per fighter, one per team, and the roster that holds the
// fighters by slot.

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/slots.hpp"

namespace morvane {

struct Fighter {
  std::string name;                 // as typed, or a fixed name given by a mode or a skill
  std::int32_t max_hp = 0;          // heals are measured against it
  std::int32_t hp = 0;              // dead at 0 or below, never clamped
  std::int32_t atk = 0;             // the attack value of a basic attack
  std::int32_t def = 0;             // taken off every hit
  std::int32_t magic = 0;           // most skills scale with it
  std::int32_t attribute = 0;       // selects the two skills; 0 = basic attacks only
  std::int32_t team = 0;            // equal teams are allies
  std::int32_t status = 0;          // see model/codes.hpp
  std::int32_t curse_stacks = 0;    // of the dark killing curse
  std::int32_t ultimate_level = 0;  // each ultimate raises it
  bool casting_ultimate = false;    // while an ultimate is being cast
};

struct TeamCalls {
  std::int32_t needs_cover = 0;  // the member who last called for cover
  std::int32_t focus = 0;        // the enemy the team last agreed to focus fire on
};

// The fighters by slot: they live in slots 1 ... next_slot()-1, and slot 0 is never used.
//
// The rules read a fighter as roster[i] and change it only through the setters. Large battles
// answer the target search from an index that keeps its own copy of what the searches read (hit
// points, attack, defence, attribute, team): while it watches, every setter of those reports
// the slot to it, so no rule can leave it answering from stale values.
class Roster {
 public:
  const Fighter& operator[](std::int32_t slot) const { return slots_[slot]; }
  std::int32_t next_slot() const { return next_; }

  // What the target index reads.
  void set_hp(std::int32_t slot, std::int32_t hp) { changed(slot).hp = hp; }
  void set_atk(std::int32_t slot, std::int32_t atk) { changed(slot).atk = atk; }
  void set_def(std::int32_t slot, std::int32_t def) { changed(slot).def = def; }
  void set_attribute(std::int32_t slot, std::int32_t attribute) {
    changed(slot).attribute = attribute;
  }
  void set_team(std::int32_t slot, std::int32_t team) { changed(slot).team = team; }

  // What it does not.
  void set_name(std::int32_t slot, std::string_view name) { slots_[slot].name = name; }
  void set_max_hp(std::int32_t slot, std::int32_t max_hp) { slots_[slot].max_hp = max_hp; }
  void set_magic(std::int32_t slot, std::int32_t magic) { slots_[slot].magic = magic; }
  void set_status(std::int32_t slot, std::int32_t status) { slots_[slot].status = status; }
  void set_curse_stacks(std::int32_t slot, std::int32_t stacks) {
    slots_[slot].curse_stacks = stacks;
  }
  void set_ultimate_level(std::int32_t slot, std::int32_t level) {
    slots_[slot].ultimate_level = level;
  }
  void set_casting_ultimate(std::int32_t slot, bool casting) {
    slots_[slot].casting_ultimate = casting;
  }

  // The one door into the roster: every fighter, typed or summoned, comes in through here,
  // filled by `fill(Fighter&)` in slot next_slot(). A fighter that would go past slot 1004 is
  // not made at all: `fill` is not called, so none of its draws is taken. Returns whether it was
  // made.
  template <class Fill>
  bool add(Fill&& fill) {
    if (next_ > kMaxSlot) return false;
    fill(changed(next_));
    ++next_;
    if (next_ > used_) used_ = next_;
    return true;
  }

  // The whole record of a slot, in the roster or past its end (a summon of an earlier level).
  void put(std::int32_t slot, const Fighter& fighter) {
    changed(slot) = fighter;
    if (slot >= used_) used_ = slot + 1;
  }
  void swap(std::int32_t i, std::int32_t j) { std::swap(changed(i), changed(j)); }
  // From now on the fighters are those of slots 1 ... next-1: fewer (the enemies of an endless
  // level leave it), or more (slots filled with put()). The records past the end stay as they
  // are, and a summon may take one up again.
  void set_next_slot(std::int32_t next) {
    if (watching_) {
      for (std::int32_t i = std::min(next, next_); i < std::max(next, next_); ++i)
        changed_.push_back(i);
    }
    next_ = next;
    if (next_ > used_) used_ = next_;
  }

  // One past the highest slot ever written (next_slot() falls back between endless levels).
  std::int32_t used() const { return used_; }
  // Empty again: every record written so far cleared.
  void clear();
  // The fighters and records of `other`, with nobody watching.
  void copy_from(const Roster& other);

  // The target index's side: from watch() on, the slots changed since the last forget_changes().
  void watch() {
    changed_.clear();
    watching_ = true;
  }
  void unwatch() {
    watching_ = false;
    changed_.clear();
  }
  const std::vector<std::int32_t>& changes() const { return changed_; }
  void forget_changes() { changed_.clear(); }

 private:
  Fighter& changed(std::int32_t slot) {
    if (watching_) changed_.push_back(slot);
    return slots_[slot];
  }

  Slots<Fighter> slots_;
  std::int32_t next_ = 1;
  std::int32_t used_ = 1;
  bool watching_ = false;
  std::vector<std::int32_t> changed_;
};

}  // namespace morvane
