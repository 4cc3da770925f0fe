#include "mechanics/checks.hpp"

#include <algorithm>

namespace morvane {

bool check_victory(Game& g) {
  g.standing_per_team.recount(g.roster);
  int cnt = 0;
  for (std::int32_t t = 1; t <= g.counted_teams; ++t) {
    if (g.standing_per_team[t] != 0 && ++cnt > 1) return false;
  }
  return true;
}

std::int32_t winner(const Game& g) {
  for (std::int32_t t = 1; t <= g.counted_teams; ++t) {
    if (g.standing_per_team[t] > 0) return t;
  }
  return 0;
}

namespace {

// The living counted fighter with the most hit points, outside team `except` (0: any team).
std::int32_t strongest(const Game& g, std::int32_t except) {
  std::int32_t best = 0;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (counted(g, i) && g.roster[i].team != except &&
        (best == 0 || g.roster[i].hp > g.roster[best].hp)) {
      best = i;
    }
  }
  return best;
}

}  // namespace

bool recount_battle_over(Game& g) {
  if (check_victory(g)) return true;
  // The strongest of two different teams are likely to stand longest.
  const std::int32_t first = strongest(g, 0);
  g.standing_per_team.set_sentinels(first, strongest(g, g.roster[first].team));
  return false;
}

std::int32_t living_enemies(const Game& g, std::int32_t x) {
  std::int32_t cnt = 0;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    if (g.roster[i].hp > 0 && g.roster[i].team != g.roster[x].team) ++cnt;
  }
  return cnt;
}

}  // namespace morvane
