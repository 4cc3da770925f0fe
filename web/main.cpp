// The page's entry point: one game per call of morvane_start, played by the same rules as in
// the terminal, with the page as the console. web/page.js calls it and is told the outcome.

#include <emscripten.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "console/browser_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

namespace {

using namespace morvane;

// The link's code could not be played: `message` tells the player why (a fresh game is offered).
EM_JS(void, page_refused, (const char* message), { Module.page.refused(UTF8ToString(message)); });
// The game's last line is shown. `code` is its share code, empty when there is none.
EM_JS(void, page_finished, (const char* code, std::uint32_t seed),
      { Module.page.finished(UTF8ToString(code), seed >>> 0); });
// The share code of the page's link, as UTF-8 bytes: its size, then a copy into `into`.
EM_JS(int, page_code_size, (), {
  Module.page.codeBytes = new TextEncoder().encode(Module.page.code || "");
  return Module.page.codeBytes.length;
});
EM_JS(void, page_take_code, (char* into), {
  HEAPU8.set(Module.page.codeBytes, into);
  Module.page.codeBytes = null;
});

std::string link_code() {
  std::string code(static_cast<std::size_t>(page_code_size()), '\0');
  page_take_code(code.data());
  return code;
}

// ---- Share links ---------------------------------------------------------------------------
// What one game takes from its share link, or gives to it.
struct Sharing {
  std::uint32_t seed = 0;
  std::int64_t max_rounds = 100000;  // as in the terminal: a battle no one can win ends
  // Consoles wrapped around the page, innermost first; the rules talk to the last one, or to
  // the page itself when there is none.
  std::vector<std::unique_ptr<Console>> consoles;
  std::string refused;                // why the code cannot be played; empty when it can
  std::function<std::string()> code;  // the game's code once it has ended; unset: no link
};

// TODO(replay codes): fill this in with morvane::replay (src/replay) once it lands:
//  - `code` empty: a fresh game of `seed`, max_rounds = the terminal's default --max-rounds.
//    consoles = a DigestConsole over `page`, then an AnswerRecorder over that;
//    code() = encode({seed, max_rounds, the recorder's answers, the digest}).
//  - otherwise: decode(code). On an error, refused = the result's message. Else seed and
//    max_rounds from the fight, consoles = an AnswerPlayer over `page` with the fight's
//    answers; code() = `code`. A fight whose digest differs is refused before it is shown:
//    play it here once silently (an AnswerPlayer over a DigestConsole over a QuietConsole, with
//    its own Game and Lcg) and compare.
// The page already handles both outcomes: a refused code shows `refused` and offers a fresh
// game; a finished game enables "复制链接" with `#` + code() when code() is not empty.
Sharing share(std::string_view code, std::uint32_t seed, Console& page) {
  static_cast<void>(page);
  Sharing sharing;
  sharing.seed = seed;
  if (!code.empty()) sharing.refused = "这个页面还读不了回放码。";
  return sharing;
}
// ---------------------------------------------------------------------------------------------

bool running = false;

}  // namespace

// Plays one game: a fresh one of `seed` when the page's share code (`Module.page.code`, taken
// from the link's fragment) is empty, else the fight of that code. Returns 0 when the game was
// played to its end, 1 when the code was refused, 2 when a game is still running (the page
// starts one game at a time).
extern "C" EMSCRIPTEN_KEEPALIVE int morvane_start(std::uint32_t seed) {
  if (running) return 2;
  running = true;
  BrowserConsole page;
  Sharing sharing = share(link_code(), seed, page);
  if (!sharing.refused.empty()) {
    page_refused(sharing.refused.c_str());
    running = false;
    return 1;
  }
  Lcg random(sharing.seed);
  {
    // The roster is large: keep the game off the stack.
    Console& console = sharing.consoles.empty() ? page : *sharing.consoles.back();
    auto g = std::make_unique<Game>(console, random);
    g->max_rounds = sharing.max_rounds;
    play(*g);
  }
  page.flush();
  const std::string link = sharing.code ? sharing.code() : std::string{};
  page_finished(link.c_str(), sharing.seed);
  running = false;
  return 0;
}
