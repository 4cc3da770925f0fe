#include "odds/odds.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

#include "model/random.hpp"
#include "modes/modes.hpp"
#include "modes/round.hpp"
#include "support/recording_console.hpp"
#include "support/scenario.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// Remembers how a game stood at the end of round `at`, and what it had said by then.
class Snapshot final : public RoundListener {
 public:
  explicit Snapshot(std::int32_t at) : at_(at) {}
  void round_ended(const Game& g, const BattleState& battle) override {
    if (g.round_count != at_ || taken) return;
    taken = true;
    state = battle;
    copy = std::make_unique<Game>(quiet, random);
    copy->copy_state_from(g);
    copy->options.max_rounds = g.options.max_rounds;
    if (on_snapshot) on_snapshot(g);
  }
  std::int32_t at_;
  bool taken = false;
  BattleState state;
  QuietConsole quiet;
  Lcg random{0};
  std::unique_ptr<Game> copy;
  std::function<void(const Game&)> on_snapshot;
};

// A team match played to its end through `play`, with a snapshot at the end of round 2.
struct Played {
  explicit Played(const std::string& input, std::uint32_t seed)
      : console(input), random(seed), g(std::make_unique<Game>(console, random)) {
    console.show_colors = console.show_pauses = true;
    g->on_round_end = &snapshot;
    g->options.max_rounds = 1000;
  }
  RecordingConsole console;
  Lcg random;
  std::unique_ptr<Game> g;
  Snapshot snapshot{2};
};

TEST(Odds, ACopiedBattleResumedWithTheGamesOwnDrawsPlaysOnExactlyAsTheGameDid) {
  // 3 against 3, and 30 against 30 (which keeps the target index).
  std::string crowd = "1\n2\n";
  for (int t = 0; t < 2; ++t) {
    for (int k = 0; k < 30; ++k)
      crowd += (k != 0 ? "/" : "") + std::string(t == 0 ? "a" : "b") + std::to_string(k);
    crowd += "\n";
  }
  int resumed_battles = 0;
  for (const std::string& input : {std::string("1\n2\n甲/乙/丙\n丁/戊/己\n"), crowd}) {
    for (std::uint32_t seed = 1; seed <= 20; ++seed) {
      Played p(input, seed);
      RecordingConsole replay;
      replay.show_colors = replay.show_pauses = true;
      Lcg same(0);
      std::size_t mark = 0;
      p.snapshot.on_snapshot = [&](const Game&) {
        mark = p.console.transcript().size();
        same.srand(p.random.state());  // the game's generator as it stands
      };
      play_game(*p.g);
      if (!p.snapshot.taken) continue;  // decided within two rounds
      ++resumed_battles;
      Game resumed(replay, same);
      resumed.copy_state_from(*p.snapshot.copy);
      resumed.options.max_rounds = 1000;
      const bool decided = resume_battle(resumed, p.snapshot.state);
      const std::string rest = p.console.transcript().substr(mark);
      ASSERT_TRUE(rest.starts_with(replay.transcript())) << "seed " << seed;
      EXPECT_TRUE(rest.substr(replay.transcript().size()).starts_with("[p500]游戏结束！"))
          << "seed " << seed << rest.substr(replay.transcript().size(), 200);
      if (decided) {
        for (std::int32_t t = 0; t <= kMaxSlot; ++t)
          ASSERT_EQ(resumed.standing_per_team[t], p.g->standing_per_team[t]) << "seed " << seed;
      }
    }
  }
  EXPECT_GT(resumed_battles, 20);
}

TEST(Odds, ContinuationsLeaveTheGameAndItsRandomStreamAlone) {
  Lcg random(7);
  RecordingConsole console("1\n2\n甲/乙/丙\n丁/戊/己\n");
  auto g = std::make_unique<Game>(console, random);
  struct Peek final : RoundListener {
    void round_ended(const Game& g, const BattleState& battle) override {
      const std::uint32_t stands = random->state();
      const std::string said = console->transcript();
      const std::int32_t hp = g.roster[1].hp, next_slot = g.roster.next_slot(),
                         round_count = g.round_count;
      const odds::Estimate e = odds.estimate(g, battle, 7, 300);
      EXPECT_EQ(e.played, 300);
      EXPECT_EQ(random->state(), stands);
      EXPECT_EQ(console->transcript(), said);
      EXPECT_EQ(g.roster[1].hp, hp);
      EXPECT_EQ(g.roster.next_slot(), next_slot);
      EXPECT_EQ(g.round_count, round_count);
      ++rounds;
    }
    const Lcg* random;
    RecordingConsole* console;
    odds::Estimator odds;
    int rounds = 0;
  } peek;
  peek.random = &random;
  peek.console = &console;
  g->on_round_end = &peek;
  play_game(*g);
  EXPECT_GT(peek.rounds, 0);
}

TEST(Odds, AFixedNumberOfContinuationsGivesTheSameFiguresEveryTime) {
  Played p("1\n2\n甲/乙/丙/丁\n戊/己/庚/辛\n", 11);
  play_game(*p.g);
  ASSERT_TRUE(p.snapshot.taken);
  const Game& g = *p.snapshot.copy;
  odds::Estimator one, other;
  const odds::Estimate a = one.estimate(g, p.snapshot.state, 11, 500);
  const odds::Estimate b = other.estimate(g, p.snapshot.state, 11, 500);
  const odds::Estimate c = one.estimate(g, p.snapshot.state, 11, 500);
  EXPECT_EQ(a.wins, b.wins);
  EXPECT_EQ(a.wins, c.wins);
  EXPECT_EQ(a.no_winner + a.undecided, b.no_winner + b.undecided);
  EXPECT_EQ(a.teams, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(a.wins[0] + a.wins[1] + a.no_winner + a.undecided, 500);
  // Another game's seed, another round: other streams.
  EXPECT_NE(odds::continuation_seed(11, 3, 0), odds::continuation_seed(12, 3, 0));
  EXPECT_NE(odds::continuation_seed(11, 3, 0), odds::continuation_seed(11, 4, 0));
  EXPECT_NE(odds::continuation_seed(11, 3, 0), odds::continuation_seed(11, 3, 1));
}

TEST(Odds, ABattleAlreadyDecidedIsAHundredToNothing) {
  Scenario t;
  t.fighter("甲", 1);
  t.fighter("乙", 2).dead(-3);
  t.fighter("丙", 2).dead();
  odds::Estimator odds;
  const odds::Estimate e = odds.estimate(t.g, BattleState{1, 2, 3}, 5, 50);
  EXPECT_EQ(e.teams, (std::vector<std::int32_t>{1, 2}));
  EXPECT_EQ(e.wins, (std::vector<std::int64_t>{50, 0}));
  EXPECT_EQ(odds::odds_line(e, false, false), "胜率 第1队 100% ██████████ 第2队 0%");
  // Nobody standing at all: nobody wins.
  t.at(1).dead();
  const odds::Estimate none = odds.estimate(t.g, BattleState{}, 5, 10);
  EXPECT_EQ(none.no_winner, 10);
  EXPECT_EQ(odds::odds_line(none, true, true), "胜率 第1队 0% 第2队 0% 无人生还 100%（推演10次）");
}

TEST(Odds, EachModeJudgesAndNamesItsSidesAsItsClosingLinesDo) {
  // A battle already decided: the enemy has fallen, and of team 1 only the summon stands. The
  // team match names team 1; the endless mode judges by 你 alone, who has fallen: a level lost.
  struct Case {
    std::int32_t mode;
    bool you_stand;
    const char* line;
  };
  const Case cases[] = {
      {1, false, "胜率 第1队 100% ██████████ 第2队 0%"},
      {3, false, "胜率 你 0% 敌人 100% ██████████"},
      {3, true, "胜率 你 100% ██████████ 敌人 0%"},
      {4, false, "胜率 挑战者 100% ██████████ 作者 0%"},
  };
  for (const Case& c : cases) {
    Scenario t;
    t.fighter("你", 1).dead(c.you_stand ? 1 : 0);
    t.fighter("棋子", 1);
    t.fighter("敌人", 2).dead();
    t.g.mode = c.mode;
    odds::Estimator odds;
    const odds::Estimate e = odds.estimate(t.g, BattleState{3, 3, 4}, 5, 40);
    EXPECT_EQ(e.played, 40);
    EXPECT_EQ(odds::odds_line(e, false, false), c.line) << c.mode;
  }
}

TEST(Odds, AContinuationStopsAtTheGamesCapAndFiveHundredRoundsPastWhereTheBattleStands) {
  // 甲 fells 乙 within fifteen rounds, never within three: 1000 hit points against blows of
  // 80 ... 258, with no dodge (乙 bears status 20, which does nothing). Behind 甲's defence of
  // 1000, no blow hurts him, 乙's or his own (a search that finds nobody keeps the last target,
  // which may be 甲 himself); behind the same defence, 乙 cannot fall either.
  // The battle's rounds so far, the game's cap (0: none), 乙's defence, continuations cut of 20.
  const std::tuple<std::int64_t, std::int64_t, std::int32_t, std::int64_t> cases[] = {
      {1, 3, 0, 20},      // the game's cap leaves two rounds: too few for anyone to fall
      {600, 603, 0, 20},  // and three
      {1, 0, 0, 0},       // no cap of the game's: five hundred rounds are plenty
      {600, 0, 0, 0},     // counted from where the battle stands, not from its start
      {0, 0, 1000, 20},   // nobody can win: every continuation still ends
  };
  for (const auto& [rounds, cap, def, cut] : cases) {
    Scenario t;
    t.fighter("甲", 1).atk(100).def(1000);
    t.fighter("乙", 2).hp(1000).atk(0).def(def).status(20);
    t.g.options.max_rounds = cap;
    odds::Estimator odds;
    const odds::Estimate e = odds.estimate(t.g, BattleState{1, 2, rounds}, 5, 20);
    EXPECT_EQ(e.undecided, cut) << rounds << " " << cap << " " << def;
    EXPECT_EQ(e.wins[0], 20 - cut) << rounds << " " << cap << " " << def;
  }
}

TEST(Odds, TheLineShowsSharesAndBarsInEighthsOrInAscii) {
  odds::Estimate e;
  e.teams = {1, 2};
  e.wins = {63, 36};
  e.undecided = 1;
  e.played = 100;
  EXPECT_EQ(odds::odds_line(e, false, false), "胜率 第1队 63% ██████▎ 第2队 36% ███▋ 未分胜负 1%");
  EXPECT_EQ(odds::odds_line(e, true, false), "胜率 第1队 63% ###### 第2队 36% #### 未分胜负 1%");
  // Ten teams: the seven likeliest, and the rest together.
  e.teams = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  e.wins = {1, 2, 3, 4, 5, 6, 7, 8, 9, 55};
  e.undecided = 0;
  EXPECT_EQ(odds::odds_line(e, false, false),
            "胜率 第4队 4% 第5队 5% 第6队 6% 第7队 7% 第8队 8% 第9队 9% 第10队 55% 其余3队 6%");
}

// A console the player may be hurrying through a battle.
class HurriedConsole final : public RecordingConsole {
 public:
  bool hurrying() const override { return hurried; }
  bool hurried = false;
};

TEST(Odds, EachRoundEndsWithAGreyLineUnlessThePlayerSkipsToTheBattlesEnd) {
  Scenario t;
  t.fighter("甲", 1);
  t.fighter("乙", 2).dead();
  HurriedConsole shown;
  shown.show_colors = true;
  odds::OddsListener odds(shown, 5, {.verbose = true, .most = 3});
  // The page charts the estimates: it is told of each one its line shows, and of no other.
  std::vector<odds::Estimate> told;
  odds.on_estimate([&](const odds::Estimate& e) { told.push_back(e); });
  odds.round_ended(t.g, BattleState{1, 2, 3});
  EXPECT_EQ(shown.transcript(), "[c7]胜率 第1队 100% ██████████ 第2队 0%（推演3次）[c0]\n");
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0].played, 3);
  EXPECT_EQ(told[0].wins, (std::vector<std::int64_t>{3, 0}));
  shown.forget();
  shown.hurried = true;
  odds.round_ended(t.g, BattleState{1, 2, 3});
  EXPECT_EQ(shown.transcript(), "");
  EXPECT_EQ(told.size(), 1u);
}

}  // namespace
}  // namespace morvane
