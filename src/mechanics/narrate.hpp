#pragma once
// How the rules speak: through the game's console, a piece at a time or a whole line at once.

#include "console/console.hpp"
#include "model/game.hpp"

namespace morvane {

// Writes the pieces of a message in order: say(g, a[x].name, "掉了", damage, "点血");
// A silent game says nothing, without a call to its console.
template <class... Pieces>
void say(Game& g, const Pieces&... pieces) {
  if (g.options.silent) return;
  (g.console.write(pieces), ...);
}

inline void endl(Game& g) {
  if (!g.options.silent) g.console.endl();
}

// A whole line: its pieces, then the line's end.
template <class... Pieces>
void line(Game& g, const Pieces&... pieces) {
  say(g, pieces...);
  endl(g);
}

inline void pause(Game& g, int ms) {
  if (!g.options.silent) g.console.pause(ms);
}
inline void color(Game& g, int k) {
  if (!g.options.silent) g.console.color(k);
}

}  // namespace morvane
