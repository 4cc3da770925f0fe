#include <array>
#include <cstddef>

#include "skills/branches.hpp"

namespace morvane {

Branch branch_for(std::int32_t ms) {
  static constexpr std::array<Branch, 34> kBranches = {
      nullptr,  // 0: no attribute, no skills
      fire,
      water,
      electric,
      earth,
      ice,  // 1 ... 5
      healing,
      dark,
      summoning,  // 6 ... 8
      tessik,
      varqueb,
      prane,
      halvic,
      creeper,  // 9 ... 13
      ocean,
      coin,
      jiege,
      commander,  // 14 ... 17
      bayonet_soldier,
      grenade_soldier,
      machine_gunner,  // 18 ... 20
      mossu,
      franklin,
      michael,
      trevor,  // 21 ... 24
      nullptr,
      nullptr,
      nullptr,
      nullptr,  // 25 ... 28: the banner alone
      nullptr,
      nullptr,
      nullptr,
      nullptr,  // 29 ... 32
      author,   // 33
  };
  if (ms < 0 || ms > 33) return nullptr;
  return kBranches[static_cast<std::size_t>(ms)];
}

}  // namespace morvane
