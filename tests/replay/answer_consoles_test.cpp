#include "replay/answer_consoles.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"
#include "support/recording_console.hpp"

namespace morvane::replay {
namespace {

using morvane::testing::RecordingConsole;

void narrate(Console& c) {
  c.write("甲掉了");
  c.write(54);
  c.write("点血");
  c.endl();
  c.color(4);
  c.pause(700);
  c.clear();
  c.wait_key();
}

std::uint32_t digest_of(const std::function<void(Console&)>& calls) {
  DigestConsole digest;
  calls(digest);
  return digest.digest();
}

TEST(AnswerRecorder, LogsWhatTheInnerConsoleAnsweredAndPassesEverythingOn) {
  RecordingConsole inner("junk 5 甲/乙 x");
  inner.show_colors = inner.show_pauses = true;
  AnswerRecorder recorder(inner);
  narrate(recorder);
  EXPECT_EQ(recorder.read_number(), 5);
  EXPECT_EQ(recorder.read_word(), "甲/乙");
  EXPECT_EQ(recorder.read_number(), 0);  // x is passed over, then the input ends
  EXPECT_EQ(recorder.read_word(), "");
  EXPECT_EQ(recorder.answers(), (std::vector<Answer>{Answer::of_number(5), Answer::of_text("甲/乙"),
                                                     Answer::of_number(0), Answer::of_text("")}));
  EXPECT_EQ(inner.transcript(), "甲掉了54点血\n[c4][p700][cls][key]");
}

TEST(AnswerRecorder, LetsGoOfAGameTooLargeForACode) {
  std::string input;
  for (std::size_t i = 0; i <= kMaxAnswers; ++i)
    input += "7 ";
  RecordingConsole inner(input);
  AnswerRecorder recorder(inner);
  for (std::size_t i = 0; i < kMaxAnswers; ++i)
    recorder.read_number();
  EXPECT_FALSE(recorder.too_large());
  EXPECT_EQ(recorder.answers().size(), kMaxAnswers);
  EXPECT_EQ(recorder.read_number(), 7);  // still answered, no longer kept
  EXPECT_TRUE(recorder.too_large());
  EXPECT_TRUE(recorder.answers().empty());

  RecordingConsole names(std::string(kMaxPlainSize / 2, 'x') + " " +
                         std::string(kMaxPlainSize / 2 + 1, 'y'));
  AnswerRecorder by_bytes(names);
  by_bytes.read_word();
  EXPECT_FALSE(by_bytes.too_large());
  by_bytes.read_word();
  EXPECT_TRUE(by_bytes.too_large());
}

// The front end under the replay consoles still learns when a fight begins and ends: the
// terminal lets the player pace it, the page offers to skip it.
TEST(ReplayConsoles, PassTheBattleHooksToTheFrontEndWithoutDigestingThem) {
  struct Front final : RecordingConsole {
    void battle_begins() override { write("<begin>"); }
    void battle_ends() override { write("<end>"); }
  } front;
  DigestConsole quiet;
  const std::uint32_t untouched = quiet.digest();
  AnswerRecorder recorder(front);
  AnswerPlayer player(recorder, {});
  DigestConsole digest(player);
  digest.battle_begins();
  digest.battle_ends();
  EXPECT_EQ(front.transcript(), "<begin><end>");
  EXPECT_EQ(digest.digest(), untouched);
}

TEST(AnswerPlayer, AnswersInOrderAsksNothingAndNoticesAReadOfTheWrongKind) {
  RecordingConsole inner("9 never read");
  inner.show_colors = true;
  AnswerPlayer player(inner, {Answer::of_number(3), Answer::of_text("甲"), Answer::of_number(4)});
  narrate(player);
  EXPECT_EQ(inner.transcript(), "甲掉了54点血\n[c4][cls]");  // no key wait
  EXPECT_EQ(player.read_number(), 3);
  EXPECT_EQ(player.read_word(), "甲");
  EXPECT_FALSE(player.mismatched());
  EXPECT_FALSE(player.finished());
  EXPECT_EQ(player.read_word(), "");  // a number was recorded here
  EXPECT_TRUE(player.mismatched());
  EXPECT_TRUE(player.finished());
  EXPECT_EQ(player.read_number(), 0);  // past the end

  AnswerPlayer short_of_answers(inner, {});
  EXPECT_EQ(short_of_answers.read_number(), 0);
  EXPECT_TRUE(short_of_answers.mismatched());
}

TEST(DigestConsole, TellsNarrationsApartByAnyCallButNotByHowTextIsCut) {
  const std::uint32_t base = digest_of(narrate);
  // Pinned: every code ever made carries digests of this definition.
  EXPECT_EQ(base, 0x0A5C7560u);
  RecordingConsole inner;
  DigestConsole wrapping(inner);
  narrate(wrapping);
  EXPECT_EQ(wrapping.digest(), base);
  EXPECT_EQ(digest_of([](Console& c) {
              c.write("甲掉");
              c.write("了5");
              c.write("4点血");
              c.endl();
              c.color(4);
              c.pause(700);
              c.clear();
              c.wait_key();
            }),
            base);
  const std::function<void(Console&)> others[] = {
      [](Console& c) { narrate(c), c.color(0); },
      [](Console& c) { narrate(c), c.pause(0); },
      [](Console& c) { narrate(c), c.endl(); },
      [](Console& c) { narrate(c), c.clear(); },
      [](Console& c) { narrate(c), c.wait_key(); },
      [](Console& c) { narrate(c), c.write(std::string_view("\0k", 2)); },
      [](Console& c) { c.write("乙"), narrate(c); },
  };
  for (const auto& calls : others)
    EXPECT_NE(digest_of(calls), base);
  EXPECT_NE(digest_of([](Console& c) { c.color(4), c.pause(70); }),
            digest_of([](Console& c) { c.color(47), c.pause(0); }));
  EXPECT_NE(digest_of([](Console& c) { c.pause(700); }),
            digest_of([](Console& c) { c.pause(70); }));
}

TEST(ReplayConsoles, AWholeGameRecordedAsACodeReplaysWithTheSameNarration) {
  RecordingConsole player("1 2 甲/乙 丙/丁");
  player.show_colors = player.show_pauses = true;
  AnswerRecorder recorder(player);
  DigestConsole recording(recorder);
  Lcg random(11);
  play_game(*std::make_unique<Game>(recording, random));

  const std::string code = encode({11, 100000, recorder.answers(), recording.digest()});
  const DecodeResult read = decode(code);
  ASSERT_TRUE(read.fight);
  EXPECT_EQ(read.fight->answers.size(), 4u);

  auto replay = [&](Console& shown) {
    AnswerPlayer answers(shown, read.fight->answers);
    DigestConsole digest(answers);
    Lcg again(read.fight->seed);
    play_game(*std::make_unique<Game>(digest, again));
    EXPECT_FALSE(answers.mismatched());
    EXPECT_TRUE(answers.finished());
    return digest.digest();
  };
  QuietConsole quiet;
  EXPECT_EQ(replay(quiet), read.fight->digest);
  RecordingConsole screen;
  screen.show_colors = screen.show_pauses = true;
  EXPECT_EQ(replay(screen), read.fight->digest);
  std::string without_key = player.transcript();
  without_key.erase(without_key.find("[key]"), 5);
  EXPECT_EQ(screen.transcript(), without_key);
}

}  // namespace
}  // namespace morvane::replay
