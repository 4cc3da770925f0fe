#pragma once
// Fixed-size tables indexed by roster slot or team number (0 ... 1004).

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>

namespace morvane {

inline constexpr std::int32_t kMaxSlot = 1004;  // slots 1 ... 1004 hold combatants; 0 is unused

template <class T>
class Slots {
 public:
  T& operator[](std::int32_t i) {
    assert(i >= 0 && i <= kMaxSlot);
    return items_[static_cast<std::size_t>(i)];
  }
  const T& operator[](std::int32_t i) const {
    assert(i >= 0 && i <= kMaxSlot);
    return items_[static_cast<std::size_t>(i)];
  }

 private:
  std::array<T, kMaxSlot + 1> items_{};
};

}  // namespace morvane
