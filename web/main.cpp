// The page's entry point: one game per call of morvane_start, played by the same rules as in
// the terminal, with the page as the console. web/page.js calls it and is told the outcome.

#include <emscripten.h>

#include <cstdint>
#include <string>

#include "browser/browser_console.hpp"
#include "odds/odds.hpp"
#include "session/session.hpp"

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

// Whether the page's 胜率 button is pressed.
EM_JS(int, page_wants_odds, (), { return Module.page.odds ? 1 : 0; });

// The live odds, while the page asks for them: the button can be pressed or released at any
// moment of a game.
class PageOdds final : public RoundListener {
 public:
  PageOdds(Console& page, std::uint32_t seed) : odds_(page, seed, {}) {}
  void round_ended(const Game& g, const BattleState& battle) override {
    if (page_wants_odds() != 0) odds_.round_ended(g, battle);
  }

 private:
  odds::OddsListener odds_;
};

std::string link_code() {
  std::string code(static_cast<std::size_t>(page_code_size()), '\0');
  page_take_code(code.data());
  return code;
}

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
  const std::string code = link_code();
  std::string link;
  if (code.empty()) {
    PageOdds odds(page, seed);
    link = session::play_recorded(page, seed, session::kDefaultMaxRounds, &odds).code;
  } else {
    session::Loaded loaded = session::load(code);
    if (!loaded.fight) {
      page_refused(loaded.message.c_str());
      running = false;
      return 1;
    }
    seed = loaded.fight->seed;
    PageOdds odds(page, seed);
    session::replay(page, *loaded.fight, &odds);
    link = code;
  }
  page.flush();
  page_finished(link.c_str(), seed);
  running = false;
  return 0;
}
