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

// A fight that ran past its byte budget.
struct TooLong {};

// Passes every call on and counts the narration's bytes as a pipe would get them: text, numbers
// in decimal and line ends. Past the budget (when it is enforced) the fight is stopped by
// TooLong before the piece that would pass it goes on.
class ByteCounter final : public PassingConsole {
 public:
  ByteCounter(Console& inner, std::uint64_t budget, bool enforce)
      : PassingConsole(inner), budget_(budget), enforce_(enforce) {}

  void write(std::string_view text) override {
    count(text.size());
    PassingConsole::write(text);
  }
  void write(std::int32_t number) override {
    count(Decimal(number).text().size());
    PassingConsole::write(number);
  }
  void endl() override {
    count(1);
    PassingConsole::endl();
  }

  bool too_long() const { return bytes_ > budget_; }

 private:
  void count(std::size_t bytes) {
    bytes_ += bytes;
    if (enforce_ && too_long()) throw TooLong{};
  }

  std::uint64_t budget_;
  bool enforce_;
  std::uint64_t bytes_ = 0;
};

void play_on(Console& console, std::uint32_t seed, std::int64_t max_rounds,
             RoundListener* on_round_end = nullptr, const GameSeen& seen = {}) {
  Lcg random(seed);
  // The roster is large: keep the game off the stack.
  auto g = std::make_unique<Game>(console, random);
  g->options.max_rounds = max_rounds;
  g->on_round_end = on_round_end;
  if (seen) seen(*g, false);
  play_game(*g);
  if (seen) seen(*g, true);
}

// Whether these rules tell the fight as its digest says, asking nothing of anyone.
enum class Check { Same, Different, TooLong };

Check check(const replay::Fight& fight, std::uint64_t max_bytes) {
  QuietConsole quiet;
  replay::AnswerPlayer answers(quiet, fight.answers);
  ByteCounter counter(answers, max_bytes, true);
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
                       RoundListener* on_round_end, std::uint64_t max_bytes, const GameSeen& seen) {
  replay::AnswerRecorder recorder(console);
  ByteCounter counter(recorder, max_bytes, false);
  replay::DigestConsole digest(counter);
  play_on(digest, seed, max_rounds, on_round_end, seen);
  Recorded recorded;
  recorded.fight = {seed, max_rounds, recorder.answers(), digest.digest()};
  if (counter.too_long()) {
    recorded.no_code = NoCode::TooLong;
  } else {
    recorded.code = recorder.too_large() ? std::string{} : replay::encode(recorded.fight);
    if (recorded.code.empty()) recorded.no_code = NoCode::TooLarge;
  }
  return recorded;
}

Loaded load(std::string_view text, std::uint64_t max_bytes) {
  replay::DecodeResult read = replay::decode(text);
  if (!read.fight) return {std::nullopt, std::move(read.message)};
  switch (check(*read.fight, max_bytes)) {
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

bool replay(Console& console, const replay::Fight& fight, RoundListener* on_round_end,
            std::uint64_t max_bytes) {
  replay::AnswerPlayer answers(console, fight.answers);
  ByteCounter counter(answers, max_bytes, true);
  replay::DigestConsole digest(counter);
  try {
    play_on(digest, fight.seed, fight.max_rounds, on_round_end);
  } catch (const TooLong&) {
    return false;
  }
  return true;
}

}  // namespace morvane::session
