#include "app/highlights.hpp"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/highlights_report.hpp"
#include "console/quiet_console.hpp"
#include "mechanics/checks.hpp"
#include "odds/odds.hpp"
#include "replay/answer_consoles.hpp"
#include "session/session.hpp"

namespace morvane {
namespace {

HighlightsConfig config_of(std::vector<std::string> lines, std::int64_t fights) {
  HighlightsConfig c;
  c.lines = std::move(lines);
  c.fights = fights;
  c.seed = 2024;
  c.threads = 2;
  c.continuations = 40;  // enough to tell chances apart, and quick under a sanitizer
  return c;
}

// A code's fight played again as a player replays it: how it ended, and the winner's chance
// at the end of round `judged`, from `count` continuations.
struct Replayed {
  std::int32_t winner = 0;
  std::int64_t rounds = 0;
  std::int64_t hp_left = 0, full_hp = 0;
  std::int32_t survivors = 0;
  double chance = -1;
};

class Judge final : public RoundListener {
 public:
  Judge(std::uint32_t seed, std::int64_t judged, std::int64_t count)
      : seed_(seed), judged_(judged), count_(count) {}
  void round_ended(const Game& g, const BattleState& battle) override {
    rounds = battle.rounds;
    if (battle.rounds == judged_) estimate = estimator_.estimate(g, battle, seed_, count_);
  }
  std::int64_t rounds = 0;
  odds::Estimate estimate;

 private:
  std::uint32_t seed_;
  std::int64_t judged_, count_;
  odds::Estimator estimator_;
};

Replayed replayed(const std::string& code, std::int64_t judged, std::int64_t count) {
  const session::Loaded loaded = session::load(code);
  EXPECT_TRUE(loaded.fight) << loaded.message;
  if (!loaded.fight) return {};
  const replay::Fight& fight = *loaded.fight;
  QuietConsole quiet;
  replay::AnswerPlayer answers(quiet, fight.answers);
  Judge judge(fight.seed, judged, count);
  Replayed r;
  session::play(answers, fight.seed, fight.max_rounds, &judge, [&](const Game& g, bool over) {
    if (!over) return;
    r.winner = winner(g);
    for (std::int32_t slot = 1; slot < g.roster.next_slot(); ++slot) {
      const Fighter& x = g.roster[slot];
      if (x.team != r.winner) continue;
      r.full_hp += x.max_hp;
      if (x.hp > 0) {
        r.hp_left += x.hp;
        ++r.survivors;
      }
    }
  });
  r.rounds = judge.rounds;
  const odds::Estimate& e = judge.estimate;
  for (std::size_t k = 0; k < e.teams.size(); ++k) {
    if (e.teams[k] == r.winner)
      r.chance = static_cast<double>(e.wins[k]) / static_cast<double>(e.played);
  }
  return r;
}

TEST(Highlights, EachCodeReplaysToTheFightWhoseFiguresWerePrinted) {
  for (const Mode mode : {Mode::TeamMatch, Mode::DarkMatch}) {
    HighlightsConfig c = config_of({"甲/乙/丙", "丁/戊/己", "杰哥"}, 60);
    c.mode = mode;
    const HighlightsReport r = highlights(c);
    ASSERT_EQ(r.comebacks.size(), 3u);
    for (const Highlight& h : r.comebacks) {
      ASSERT_FALSE(h.code.empty());
      // The same continuations give the very chance printed; four times as many, one within
      // their noise: the winner really was that far behind.
      const Replayed same = replayed(h.code, h.lowest_round, c.continuations);
      EXPECT_EQ(same.winner, h.winner);
      EXPECT_DOUBLE_EQ(same.chance, h.lowest_chance) << "seed " << h.seed;
      const Replayed more = replayed(h.code, h.lowest_round, 4 * c.continuations);
      const auto count = static_cast<double>(c.continuations);
      const double noise = std::sqrt(std::max(h.lowest_chance, 1 / count) / count);
      EXPECT_NEAR(more.chance, h.lowest_chance, 4 * noise) << "seed " << h.seed;
    }
    for (const Highlight& h : r.closest) {
      const Replayed again = replayed(h.code, 0, 0);
      EXPECT_EQ(again.winner, h.winner);
      EXPECT_EQ(again.hp_left, h.hp_left) << "seed " << h.seed;
      EXPECT_EQ(again.full_hp, h.full_hp);
      EXPECT_EQ(again.survivors, h.survivors);
    }
    for (const Highlight& h : r.longest) {
      const Replayed again = replayed(h.code, 0, 0);
      EXPECT_EQ(again.winner, h.winner);
      // The round that decides a battle does not end: the listener heard all before it.
      EXPECT_EQ(again.rounds + 1, h.rounds) << "seed " << h.seed;
    }
  }
}

// What the picks are, without their codes.
std::vector<std::int64_t> picked(const HighlightsReport& r) {
  std::vector<std::int64_t> out;
  for (const auto* kind : {&r.comebacks, &r.closest, &r.longest})
    for (const Highlight& h : *kind)
      out.push_back(h.fight);
  return out;
}

TEST(Highlights, ThePicksAreTheBestOfEachKindWhateverTheThreads) {
  HighlightsConfig c = config_of({"甲/乙", "丙/丁"}, 150);
  c.top = 5;
  c.threads = 1;
  const HighlightsReport one = highlights(c);
  c.threads = 3;
  const HighlightsReport three = highlights(c);
  EXPECT_EQ(picked(three), picked(one));
  ASSERT_EQ(one.longest.size(), 5u);
  for (std::size_t k = 1; k < 5; ++k) {
    EXPECT_LE(one.comebacks[k - 1].lowest_chance, one.comebacks[k].lowest_chance);
    EXPECT_LE(one.closest[k - 1].hp_share(), one.closest[k].hp_share());
    EXPECT_GE(one.longest[k - 1].rounds, one.longest[k].rounds);
  }
  // No fight outside the picks does better: the fifth longest is at least as long as any other.
  HighlightsConfig all = c;
  all.top = 100;
  const HighlightsReport every = highlights(all);
  EXPECT_GE(one.longest.back().rounds, every.longest[5].rounds);
}

TEST(Highlights, AFightTheRoundCapCutIsNoneOfThem) {
  HighlightsConfig c = config_of({"甲/乙/丙", "丁/戊/己"}, 100);
  c.max_rounds = 2;
  const HighlightsReport r = highlights(c);
  for (const Highlight& h : r.longest) {
    EXPECT_LE(h.rounds, 2);
    EXPECT_NE(h.winner, 0);  // a 3-against-3 fight never ends with nobody within two rounds
  }
  // The codes keep the cap: a player's replay is cut where the fight was.
  const session::Loaded loaded = session::load(r.longest.front().code);
  ASSERT_TRUE(loaded.fight);
  EXPECT_EQ(loaded.fight->max_rounds, 2);
}

TEST(Highlights, AStoppedRunPicksFromTheFightsItFinishedAndSaysSo) {
  HighlightsConfig c = config_of({"甲/乙/丙", "丁/戊/己"}, 4'000'000'000);
  std::atomic<bool> stop{false};
  const HighlightsReport r = highlights(
      c, [&stop](std::int64_t done) { stop = done >= 40; }, &stop);
  EXPECT_TRUE(r.interrupted());
  EXPECT_GE(r.played, 40);
  EXPECT_FALSE(r.longest.empty());
  EXPECT_NE(format_highlights(r).find("已中断：计划4000000000场"), std::string::npos);
  const auto j = nlohmann::json::parse(format_highlights_json(r));
  EXPECT_EQ(j["interrupted"], true);
  EXPECT_EQ(j["fights"], r.played);
  EXPECT_EQ(j["longest"][0]["code"], r.longest[0].code);
}

}  // namespace
}  // namespace morvane
