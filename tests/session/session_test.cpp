#include "session/session.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "replay/replay_code.hpp"
#include "support/recording_console.hpp"

namespace morvane::session {
namespace {

using morvane::testing::RecordingConsole;

// A console that shows what a player sees: text, colours and pauses.
struct Seen : RecordingConsole {
  explicit Seen(const std::string& input = {}) : RecordingConsole(input) {
    show_colors = show_pauses = true;
  }
};

const std::string kMatch = "1 3 tessik/甲 乙/丙 杰哥";

TEST(Session, ARecordedGamesCodeReplaysTheSameNarrationAskingNothing) {
  Seen player(kMatch);
  const Recorded recorded = play_recorded(player, 11, 100000);
  ASSERT_FALSE(recorded.code.empty());
  EXPECT_EQ(recorded.fight.answers.size(), 5u);  // the mode, the team count, three lines

  const Loaded loaded = load(recorded.code);
  ASSERT_TRUE(loaded.fight) << loaded.message;
  EXPECT_EQ(*loaded.fight, recorded.fight);
  Seen shown("9 9 9");  // anything it read would show as another fight
  replay(shown, *loaded.fight);
  std::string expected = player.transcript();
  expected.erase(expected.find("[key]"), 5);  // a replay waits for no key
  EXPECT_EQ(shown.transcript(), expected);

  // An unrecorded game of the same seed and answers is the same game.
  Seen again(kMatch);
  play(again, 11, 100000);
  EXPECT_EQ(again.transcript(), player.transcript());
}

TEST(Session, ACodeWhoseFightTheseRulesTellOtherwiseIsRefused) {
  Seen player(kMatch);
  const Recorded recorded = play_recorded(player, 11, 100000);

  replay::Fight other_rules = recorded.fight;
  other_rules.digest ^= 1;  // as if another version had told it
  replay::Fight answers_left = recorded.fight;
  answers_left.answers.push_back(replay::Answer::of_number(4));
  replay::Fight wrong_kind = recorded.fight;
  wrong_kind.answers[2] = replay::Answer::of_number(2);
  for (const replay::Fight& fight : {other_rules, answers_left, wrong_kind}) {
    const Loaded loaded = load(replay::encode(fight));
    EXPECT_FALSE(loaded.fight);
    EXPECT_NE(loaded.message.find("不一样"), std::string::npos) << loaded.message;
  }
}

TEST(Session, AFrontEndSeesTheGameFromItsFirstLineToItsLast) {
  // The page's board reads the roster while the narration goes, and lets go at the end.
  Seen player(kMatch);
  struct Sight {
    const Game* game;
    bool over;
    std::int32_t fighters;
    std::size_t said;  // bytes of narration so far
  };
  std::vector<Sight> seen;
  play(player, 11, 100000, nullptr, [&](const Game& g, bool over) {
    seen.push_back({&g, over, g.roster.next_slot() - 1, player.transcript().size()});
  });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].game, seen[1].game);
  EXPECT_FALSE(seen[0].over);
  EXPECT_EQ(seen[0].fighters, 0);
  EXPECT_EQ(seen[0].said, 0u);
  // At the end: the five typed and their summons, after the game's last line.
  EXPECT_TRUE(seen[1].over);
  EXPECT_GE(seen[1].fighters, 5);
  EXPECT_EQ(seen[1].said, player.transcript().size());
}

TEST(Session, DamagedCodesAreRefusedWithTheLibrarysMessages) {
  Seen player(kMatch);
  const std::string code = play_recorded(player, 11, 100000).code;
  std::string changed = code;
  changed[code.size() / 2] = changed[code.size() / 2] == 'A' ? 'B' : 'A';
  for (const std::string& bad : {changed, code.substr(0, code.size() - 3), std::string("hello")}) {
    const Loaded loaded = load(bad);
    EXPECT_FALSE(loaded.fight) << bad;
    EXPECT_EQ(loaded.message, replay::decode(bad).message);
  }
}

// Ten one-fighter teams whose summons block each other: without a round cap, no end.
const std::string kTen = "1 10 a b c d e f g h i j";

// Counts the bytes a pipe would get.
struct Bytes : RecordingConsole {
  void write(std::string_view text) override { count += text.size(); }
  void write(std::int32_t number) override { count += std::to_string(number).size(); }
  void endl() override { ++count; }
  std::uint64_t count = 0;
};

TEST(Session, AGamePastTheByteBudgetHasNoCodeButPlaysOn) {
  RecordingConsole player(kTen);
  const Recorded recorded = play_recorded(player, 9105, 50, nullptr, 1000);
  EXPECT_TRUE(recorded.code.empty());
  EXPECT_EQ(recorded.no_code, NoCode::TooLong);
  EXPECT_NE(player.transcript().find("战斗超过50回合"), std::string::npos);
  EXPECT_EQ(play_recorded(player, 9105, 50).no_code, NoCode::None);
}

TEST(Session, ForgedCodesAreRefusedOnceTheirNarrationPassesTheBudget) {
  constexpr std::uint64_t kBudget = 1 << 20;
  RecordingConsole player(kTen);
  replay::Fight endless = play_recorded(player, 9105, 50).fight;
  // A name of almost a megabyte in every line that names its fighter.
  const replay::Fight named{3,
                            100000,
                            {replay::Answer::of_number(1), replay::Answer::of_number(2),
                             replay::Answer::of_text(std::string(replay::kMaxPlainSize - 64, 'x')),
                             replay::Answer::of_text("y")},
                            0};
  std::vector<replay::Fight> forged{named};
  for (const std::int64_t cap : {std::int64_t{0}, std::int64_t{1} << 40}) {
    endless.max_rounds = cap;  // a battle that never ends
    forged.push_back(endless);
  }
  for (const replay::Fight& fight : forged) {
    const std::string code = replay::encode(fight);
    ASSERT_LT(code.size(), 100u);
    const Loaded loaded = load(code, kBudget);
    EXPECT_FALSE(loaded.fight);
    EXPECT_EQ(loaded.message, "回放码里的战斗太长，无法回放");
    // Shown without a check, it stops at the budget too.
    Bytes shown;
    EXPECT_FALSE(replay(shown, fight, nullptr, kBudget));
    EXPECT_LE(shown.count, kBudget);
  }
}

TEST(Session, AGameWithMoreNamesThanACodeHoldsHasNoCode) {
  RecordingConsole player("1 2 " + std::string(replay::kMaxPlainSize, 'x') + " y");
  const Recorded recorded = play_recorded(player, 3, 100000);
  EXPECT_TRUE(recorded.code.empty());
  EXPECT_NE(player.transcript().find("胜利的是"), std::string::npos);  // the game itself went on
}

}  // namespace
}  // namespace morvane::session
