// The page's entry points. On the page's own thread, one game per call of morvane_start, played
// by the same rules as in the terminal with the page as the console; web/page.js calls it and is
// told the outcome. In a worker (web/worker.js), the check of a link's code and the silent games
// of the odds before a battle, so that neither ever holds up the page.

#include <emscripten.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browser/browser_console.hpp"
#include "console/passing_console.hpp"
#include "odds/odds.hpp"
#include "replay/answer_consoles.hpp"
#include "replay/replay_code.hpp"
#include "roster_view.hpp"
#include "session/session.hpp"
#include "silent_match.hpp"

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
// One answer the rules took: a number, or a line of names (any bytes).
EM_JS(void, page_answered, (int is_number, const char* text, int size), {
  Module.page.answered(is_number != 0,
                       new TextDecoder().decode(HEAPU8.subarray(text, text + size)));
});
// A battle round ended: its hit-point line is the last line handed over.
EM_JS(void, page_round_ended, (), { Module.page.roundEnded(); });
// The live odds of the round that just ended, for the chart after the game.
EM_JS(void, page_round_odds,
      (const std::int32_t* teams, const double* wins, int count, double played, double no_winner,
       double undecided),
      {
        Module.page.roundOdds(Array.from(HEAP32.subarray(teams >> 2, (teams >> 2) + count)),
                              Array.from(HEAPF64.subarray(wins >> 3, (wins >> 3) + count)), played,
                              no_winner, undecided);
      });
// A game begins: a fresh one (replay 0) or a link's fight, with its seed and round cap.
EM_JS(void, page_starting, (int replay, std::uint32_t seed, double max_rounds),
      { Module.page.starting(replay != 0, seed >>> 0, max_rounds); });
// Whether the page's 胜率 button is pressed.
EM_JS(int, page_wants_odds, (), { return Module.page.odds ? 1 : 0; });

// The worker's input for the odds before a battle: the number of team lines, each line's size in
// UTF-8 bytes, a copy of it into `into`; and where the tally goes.
EM_JS(int, page_line_count, (), { return Module.page.lines.length; });
EM_JS(int, page_line_size, (int k), {
  Module.page.lineBytes = new TextEncoder().encode(Module.page.lines[k]);
  return Module.page.lineBytes.length;
});
EM_JS(void, page_take_team_line, (char* into), {
  HEAPU8.set(Module.page.lineBytes, into);
  Module.page.lineBytes = null;
});
EM_JS(void, page_tally, (const std::int32_t* numbers, int count),
      { Module.page.tally(Array.from(HEAP32.subarray(numbers >> 2, (numbers >> 2) + count))); });

// Tells the page each answer the rules take, after the narration that asked for it: the page
// shows a replay's answers where a live game shows what was typed, and keeps a game's answers
// for a rematch with the same names.
class PageAnswers final : public PassingConsole {
 public:
  PageAnswers(Console& inner, BrowserConsole& page) : PassingConsole(inner), page_(page) {}

  std::int32_t read_number() override {
    const std::int32_t number = inner_.read_number();
    tell(true, Decimal(number).text());
    return number;
  }
  std::string read_word() override {
    std::string word = inner_.read_word();
    tell(false, word);
    return word;
  }

 private:
  void tell(bool is_number, std::string_view text) {
    page_.flush();
    page_answered(is_number ? 1 : 0, text.data(), static_cast<int>(text.size()));
  }

  BrowserConsole& page_;
};

// The end of every battle round: the page's round summary and, while the page asks for them,
// the live odds (the button can be pressed or released at any moment of a game).
class PageRounds final : public RoundListener {
 public:
  PageRounds(BrowserConsole& page, std::uint32_t seed) : page_(page), odds_(page, seed, {}) {
    odds_.on_estimate(show_estimate);
  }

  void round_ended(const Game& g, const BattleState& battle) override {
    if (page_wants_odds() != 0) odds_.round_ended(g, battle);
    page_.flush();
    page_round_ended();
  }

 private:
  static void show_estimate(const odds::Estimate& e) {
    const std::vector<double> wins(e.wins.begin(), e.wins.end());
    page_round_odds(e.teams.data(), wins.data(), static_cast<int>(e.teams.size()),
                    static_cast<double>(e.played), static_cast<double>(e.no_winner),
                    static_cast<double>(e.undecided));
  }

  BrowserConsole& page_;
  odds::OddsListener odds_;
};

std::string link_code() {
  std::string code(static_cast<std::size_t>(page_code_size()), '\0');
  page_take_code(code.data());
  return code;
}

// Plays a fight as a replay: its answers shown as they are taken, nothing asked.
void show_replay(BrowserConsole& page, const replay::Fight& fight, RoundListener& rounds,
                 const session::GameSeen& seen) {
  replay::AnswerPlayer answers(page, fight.answers);
  PageAnswers told(answers, page);
  session::play(told, fight.seed, fight.max_rounds, &rounds, seen);
}

bool running = false;

}  // namespace

// Plays one game: a fresh one of `seed` when the page's share code (`Module.page.code`, taken
// from the link's fragment) is empty, else the fight of that code, which the page's worker has
// already checked when `checked` is 1. Returns 0 when the game was played to its end, 1 when
// the code was refused, 2 when a game is still running (the page starts one game at a time).
extern "C" EMSCRIPTEN_KEEPALIVE int morvane_start(std::uint32_t seed, int checked) {
  if (running) return 2;
  running = true;
  web::RosterView board;
  BrowserConsole page;
  page.after_show([&board] { board.send(); });
  // The board reads the game from its first line to its last, and not once it is gone.
  const session::GameSeen seen = [&page, &board](const Game& g, bool over) {
    if (over) page.flush();
    board.watch(over ? nullptr : &g);
  };
  const std::string code = link_code();
  std::string link;
  if (code.empty()) {
    page_starting(0, seed, static_cast<double>(session::kDefaultMaxRounds));
    PageRounds rounds(page, seed);
    PageAnswers told(page, page);
    link = session::play_recorded(told, seed, session::kDefaultMaxRounds, &rounds,
                                  session::kMaxFightBytes, seen)
               .code;
  } else {
    // Decoding is quick; checking means playing the whole fight, which the worker did.
    std::optional<replay::Fight> fight;
    std::string refusal;
    if (checked != 0) {
      replay::DecodeResult read = replay::decode(code);
      fight = std::move(read.fight);
      refusal = std::move(read.message);
    } else {
      session::Loaded loaded = session::load(code);
      fight = std::move(loaded.fight);
      refusal = std::move(loaded.message);
    }
    if (!fight) {
      page_refused(refusal.c_str());
      running = false;
      return 1;
    }
    seed = fight->seed;
    page_starting(1, seed, static_cast<double>(fight->max_rounds));
    PageRounds rounds(page, seed);
    show_replay(page, *fight, rounds, seen);
    link = code;
  }
  page.flush();
  page_finished(link.c_str(), seed);
  running = false;
  return 0;
}

// In the worker: checks the code of `Module.page.code` as `morvane replay` does. Returns 0 when
// it may be played; otherwise 1, and `Module.page.refused` is told why.
extern "C" EMSCRIPTEN_KEEPALIVE int morvane_check() {
  const session::Loaded loaded = session::load(link_code());
  if (loaded.fight) return 0;
  page_refused(loaded.message.c_str());
  return 1;
}

// In the worker: the odds before a battle of the team lines in `Module.page.lines`, from up to
// `most` silent matches of mode `mode` (stopping after `budget_ms`), handed to
// `Module.page.tally` as: played, nobody standing, undecided, then the wins of each team.
extern "C" EMSCRIPTEN_KEEPALIVE void morvane_prefight(std::int32_t mode, std::uint32_t seed,
                                                      std::int32_t most, double budget_ms) {
  std::vector<std::string> lines(static_cast<std::size_t>(page_line_count()));
  for (std::size_t k = 0; k < lines.size(); ++k) {
    lines[k].assign(static_cast<std::size_t>(page_line_size(static_cast<int>(k))), '\0');
    page_take_team_line(lines[k].data());
  }
  const web::MatchTally tally =
      web::silent_matches(mode, lines, seed, most, session::kDefaultMaxRounds, budget_ms);
  std::vector<std::int32_t> numbers = {tally.played, tally.no_winner, tally.undecided};
  numbers.insert(numbers.end(), tally.wins.begin(), tally.wins.end());
  page_tally(numbers.data(), static_cast<int>(numbers.size()));
}
