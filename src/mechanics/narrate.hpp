#pragma once
// How the rules speak: through the game's console, a piece at a time or a whole line at once.
//
// A silent game (a batch run, an odds continuation) says nothing, without a call to its console.
// What a game that is watched says is out of the rules' way: a narrated game waits on its pauses
// anyway, while a batch run plays hundreds of thousands of games a second, and its rules run
// faster with the narration's calls kept out of their code.

#include "console/console.hpp"
#include "model/game.hpp"

namespace morvane {

namespace narration {

template <class... Pieces>
[[gnu::noinline, gnu::cold]] void write(Console& console, const Pieces&... pieces) {
  (console.write(pieces), ...);
}
[[gnu::noinline, gnu::cold]] inline void endl(Console& console) {
  console.endl();
}
[[gnu::noinline, gnu::cold]] inline void pause(Console& console, int ms) {
  console.pause(ms);
}
[[gnu::noinline, gnu::cold]] inline void color(Console& console, int k) {
  console.color(k);
}

}  // namespace narration

// Writes the pieces of a message in order: say(g, a[x].name, "掉了", damage, "点血");
template <class... Pieces>
void say(Game& g, const Pieces&... pieces) {
  if (!g.options.silent) [[unlikely]]
    narration::write(g.console, pieces...);
}

inline void endl(Game& g) {
  if (!g.options.silent) [[unlikely]]
    narration::endl(g.console);
}

// A whole line: its pieces, then the line's end.
template <class... Pieces>
void line(Game& g, const Pieces&... pieces) {
  say(g, pieces...);
  endl(g);
}

inline void pause(Game& g, int ms) {
  if (!g.options.silent) [[unlikely]]
    narration::pause(g.console, ms);
}
inline void color(Game& g, int k) {
  if (!g.options.silent) [[unlikely]]
    narration::color(g.console, k);
}

}  // namespace morvane
