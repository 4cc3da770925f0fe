#include "model/game.hpp"

#include <cstddef>

namespace morvane {

bool has_skill_row(std::int32_t sx) {
  return sx >= 1 && sx <= kAttributes;
}

std::string_view skill_name(const Game& g, std::int32_t sx, int k) {
  if (!has_skill_row(sx)) return {};
  return g.jnm[static_cast<std::size_t>(sx - 1)][static_cast<std::size_t>(k)];
}

std::int32_t skill_threshold(const Game& g, std::int32_t sx, int k) {
  if (!has_skill_row(sx)) return 101;
  return g.jncxgl[static_cast<std::size_t>(sx - 1)][static_cast<std::size_t>(k)];
}

}  // namespace morvane
