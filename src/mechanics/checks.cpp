#include "mechanics/checks.hpp"

#include <algorithm>

namespace morvane {

bool checkwin(Game& g) {
  // Only entries up to the highest team counted last time can be non-zero, so only those are
  // cleared: the check runs after every basic attack.
  for (std::int32_t t = 0; t <= g.chrs_top; ++t)
    g.chrs[t] = 0;
  std::int32_t top = 0;
  for (std::int32_t i = 1; i < g.rs; ++i) {
    if (g.a[i].hp > 0) {
      ++g.chrs[g.a[i].team];
      top = std::max(top, g.a[i].team);
    }
  }
  g.chrs_top = top;
  int cnt = 0;
  for (std::int32_t t = 1; t <= g.n; ++t) {
    if (g.chrs[t] != 0 && ++cnt > 1) return false;
  }
  return true;
}

std::int32_t checklivings(const Game& g, std::int32_t x) {
  std::int32_t cnt = 0;
  for (std::int32_t i = 1; i < g.rs; ++i) {
    if (g.a[i].hp > 0 && g.a[i].team != g.a[x].team) ++cnt;
  }
  return cnt;
}

}  // namespace morvane
