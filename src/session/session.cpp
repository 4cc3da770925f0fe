#include "session/session.hpp"

#include <memory>
#include <utility>

#include "console/passing_console.hpp"
#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "replay/answer_consoles.hpp"

namespace morvane::session {
namespace {

// A fight that ran past its line budget.
struct TooLong {};

// Passes every call on and counts the line ends; past the budget (when there is one) the fight
// is stopped by TooLong.
class LineCounter final : public PassingConsole {
 public:
  LineCounter(Console& inner, std::uint64_t budget, bool enforce)
      : PassingConsole(inner), budget_(budget), enforce_(enforce) {}

  void endl() override {
    if (++lines_ > budget_ && enforce_) throw TooLong{};
    PassingConsole::endl();
  }

  bool too_long() const { return lines_ > budget_; }

 private:
  std::uint64_t budget_;
  bool enforce_;
  std::uint64_t lines_ = 0;
};

void play_on(Console& console, std::uint32_t seed, std::int64_t max_rounds,
             RoundListener* on_round_end = nullptr, const GameSeen& seen = {}) {
  Lcg random(seed);
  // The roster is large: keep the game off the stack.
  auto g = std::make_unique<Game>(console, random);
  g->max_rounds = max_rounds;
  g->on_round_end = on_round_end;
  if (seen) seen(*g, false);
  play(*g);
  if (seen) seen(*g, true);
}

// Whether these rules tell the fight as its digest says, asking nothing of anyone.
enum class Check { Same, Different, TooLong };

Check check(const replay::Fight& fight, std::uint64_t max_lines) {
  QuietConsole quiet;
  replay::AnswerPlayer answers(quiet, fight.answers);
  LineCounter counter(answers, max_lines, true);
  replay::DigestConsole digest(counter);
  try {
    play_on(digest, fight.seed, fight.max_rounds);
  } catch (const TooLong&) {
    return Check::TooLong;
  }
  const bool same = digest.digest() == fight.digest && !answers.mismatched() && answers.finished();
  return same ? Check::Same : Check::Different;
}

}  // namespace

void play(Console& console, std::uint32_t seed, std::int64_t max_rounds,
          RoundListener* on_round_end, const GameSeen& seen) {
  play_on(console, seed, max_rounds, on_round_end, seen);
}

Recorded play_recorded(Console& console, std::uint32_t seed, std::int64_t max_rounds,
                       RoundListener* on_round_end, std::uint64_t max_lines, const GameSeen& seen) {
  replay::AnswerRecorder recorder(console);
  LineCounter counter(recorder, max_lines, false);
  replay::DigestConsole digest(counter);
  play_on(digest, seed, max_rounds, on_round_end, seen);
  Recorded recorded;
  recorded.fight = {seed, max_rounds, recorder.answers(), digest.digest()};
  if (!recorder.too_large() && !counter.too_long()) recorded.code = replay::encode(recorded.fight);
  return recorded;
}

Loaded load(std::string_view code, std::uint64_t max_lines) {
  replay::DecodeResult read = replay::decode(code);
  if (!read.fight) return {std::nullopt, std::move(read.message)};
  switch (check(*read.fight, max_lines)) {
    case Check::Same:
      return {std::move(read.fight), {}};
    case Check::TooLong:
      return {std::nullopt, "回放码里的战斗太长，无法回放"};
    case Check::Different:
      break;
  }
  return {std::nullopt,
          "这个回放码的战斗与这个版本的Morvane讲的不一样（它可能来自另一个版本），无法回放"};
}

void replay(Console& console, const replay::Fight& fight, RoundListener* on_round_end) {
  replay::AnswerPlayer answers(console, fight.answers);
  replay::DigestConsole digest(answers);
  play_on(digest, fight.seed, fight.max_rounds, on_round_end);
}

}  // namespace morvane::session
