#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "modes/modes.hpp"
#include "support/recording_console.hpp"
#include "support/scripted_random.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

// Mode 3 without the fights, through a console that steps into the game: every enemy falls as it
// is announced, so a level is won without a draw, and at the start of level `lose_at` the player
// falls, which ends the run there.
struct EndlessRun final : RecordingConsole {
  EndlessRun(std::string input, int lose_at_level)
      : RecordingConsole(std::move(input)), lose_at(lose_at_level) {}
  void write(std::string_view text) override {
    RecordingConsole::write(text);
    if (text == "战斗开始" && ++level == lose_at) g.roster.set_hp(1, 0);
    if (text != "的敌人！") return;
    g.roster.set_hp(g.roster.next_slot(), 0);  // the enemy being made
    if (in_battle && level < lose_at) in_battle(g);
  }
  using RecordingConsole::write;
  std::int32_t read_number() override {
    if (at_upgrade && level > 0) at_upgrade(g);
    return RecordingConsole::read_number();
  }

  std::string from(const std::string& start, const std::string& end) const {
    const std::string& t = transcript();
    const auto first = t.find(start), last = t.find(end, first);
    return first == std::string::npos ? "" : t.substr(first, last + end.size() - first);
  }

  int lose_at;
  ScriptedRandom random;
  std::unique_ptr<Game> game = std::make_unique<Game>(*this, random);
  Game& g = *game;
  int level = 0;
  std::function<void(Game&)> in_battle, at_upgrade;
};

std::vector<std::int32_t> zeros(std::size_t count) {
  return std::vector<std::int32_t>(count, 0);
}

TEST(Endless, LevelLBringsLEnemiesTenStrongerPerLevelAndTheRunEndsWhereThePlayerFell) {
  EndlessRun r("1\n9\n9\n", 3);
  r.random.script({1000, 2001, 3002, 4003});  // the player
  r.random.script(zeros(15));                 // levels 1 and 2
  r.random.script({249, 49, 29, 79, 6});
  r.random.script(zeros(10));
  endless(r.g);
  EXPECT_EQ(r.from("你需要", "[cls]"),
            "你需要什么属性？(1~8分别为: 1火,2水,3电,4地,5冰,6疗,7黑,8召)\n你的其他属性初始化完毕\n"
            "下面的数值分别代表你的血量，攻击，防御，魔力，属性\n250 51 22 23 1\n[cls]");
  EXPECT_EQ(r.from("战斗开始", "！\n"), "战斗开始\n生成了血量为150，属性为1的敌人！\n");
  EXPECT_EQ(r.from("即将开始第3波攻击...", "如果想再来请重新运行程序"),
            "即将开始第3波攻击...[cls]战斗开始\n生成了血量为419，属性为7的敌人！\n"
            "生成了血量为170，属性为1的敌人！\n生成了血量为170，属性为1的敌人！\n"
            "你最后挑战到第3关！\n如果想再来请重新运行程序");
  EXPECT_TRUE(r.g.outcome.over);
  EXPECT_EQ(r.g.outcome.level, 3);
  ASSERT_EQ(r.g.roster.next_slot(), 5);
  const Fighter& e = r.g.roster[2];
  EXPECT_EQ(e.name, "敌人");
  EXPECT_EQ((std::array{e.max_hp, e.atk, e.def, e.magic, e.attribute}),
            (std::array{419, 119, 69, 119, 7}));
  EXPECT_EQ(
      (std::array{e.team, e.curse_stacks, e.ultimate_level, r.g.roster[4].team, r.g.roster[4].def}),
      (std::array{2, 1, 0, 2, 40}));
}

TEST(Endless, EachUpgradeChangesWhatItPromises) {
  const std::string menu =
      "你通过了第1关\n你目前的血量，攻击，防御，魔力，属性:\n5 50 20 20 1\n你可以选择一个加成\n"
      "1.增加血量上限至260且回满血量\n2.增加攻击力至60\n3.增加防御力至30\n4.增加魔力至30\n"
      "5.增加火球术的出现概率至31%\n6.增加火盾护身的出现概率至16%\n"
      "7.随机抽取一个属性(可能会很强也可能会弱到爆炸)\n其他.放弃\n";
  const std::string after = "下面的数值分别代表你的血量，攻击，防御，魔力，属性\n";
  const std::pair<const char*, std::string> cases[] = {
      {"1", "260 50 20 20 1"},
      {"2", "5 60 20 20 1"},
      {"3", "5 50 30 20 1"},
      {"4", "5 50 20 30 1"},
      {"5", "5 50 20 20 1"},
      {"6", "5 50 20 20 1"},
      {"7", "你现在的属性是8\n" + after + "5 50 20 20 8"},
      {"0", "你选择放弃。\n" + after + "5 50 20 20 1"}};
  for (const auto& [choice, result] : cases) {
    EndlessRun r(std::string("1\n") + choice, 2);
    r.in_battle = [](Game& g) { g.roster.set_hp(1, 5); };
    r.random.script(zeros(9));
    if (choice == std::string("7")) r.random.script({32767});
    r.random.script(zeros(10));
    endless(r.g);
    const std::string shown = result.starts_with("你") ? result : after + result;
    EXPECT_EQ(r.from("你通过了第1关", "即将开始第2波攻击..."),
              menu + shown + "\n\n即将开始第2波攻击...")
        << choice;
    // The thresholds belong to the attribute: the enemies of fire gain as much as the player.
    EXPECT_EQ(r.g.skill_thresholds[0][0], choice == std::string("5") ? 69 : 70) << choice;
    EXPECT_EQ(r.g.skill_thresholds[0][1], choice == std::string("6") ? 84 : 85) << choice;
  }
}

TEST(Endless, WithoutAnAttributeTheSkillUpgradesAreNotOfferedAndCountAsGivingUp) {
  EndlessRun r("0\n5\n", 2);
  r.random.script(zeros(4 + 5 + 10));
  endless(r.g);
  EXPECT_EQ(r.from("4.增加魔力至30", "你选择放弃。\n"),
            "4.增加魔力至30\n7.随机抽取一个属性(可能会很强也可能会弱到爆炸)\n其他.放弃\n"
            "你选择放弃。\n");
  EXPECT_EQ(r.g.skill_thresholds, kSkillThresholds);
}

TEST(Endless, TeamOneMovesToTheFrontDeadOrAliveAndTheNextEnemiesFollowIt) {
  EndlessRun r("1\n9\n", 2);
  r.at_upgrade = [](Game& g) {  // as if the player had summoned during the battle
    g.roster.put(3, Fighter{"棋子", 50, 40, 5, 6, 7, 0, 1, 25, 3, 2, false});
    g.roster.put(4, Fighter{"敌人", 100, -1, 1, 1, 1, 1, 2, 0, 1, 0, false});
    g.roster.put(5, Fighter{"僵尸", 60, -3, 8, 9, 10, 0, 1, 0, 1, 1, false});
    g.roster.set_next_slot(6);
    g.roster.set_status(1, 12);  // a status left over from the battle
  };
  r.random.script(zeros(4 + 5 + 10));
  endless(r.g);
  const Fighter& piece = r.g.roster[2];
  EXPECT_EQ((std::array{piece.hp, piece.max_hp, piece.atk, piece.def, piece.magic, piece.status,
                        piece.curse_stacks, piece.ultimate_level}),
            (std::array{40, 50, 5, 6, 7, 25, 3, 2}));
  EXPECT_EQ(piece.name + r.g.roster[3].name + r.g.roster[4].name + r.g.roster[5].name,
            "棋子僵尸敌人敌人");
  EXPECT_EQ((std::array{r.g.roster[3].hp, r.g.roster[4].max_hp, r.g.roster.next_slot(),
                        r.g.roster[1].status}),
            (std::array{-3, 160, 6, 0}));
  // The living summon won level 2, but the level is lost with the player.
  EXPECT_TRUE(r.transcript().ends_with("你最后挑战到第2关！\n如果想再来请重新运行程序"));
}

TEST(Endless, EnemiesThatWouldNotFitInTheRosterAreNotMade) {
  const auto fill_to = [](std::int32_t last) {
    return [last](Game& g) {
      for (std::int32_t i = 2; i <= last; ++i)
        g.roster.put(i, Fighter{"兵", 1, 0, 1, 1, 1, 0, 1, 0, 1, 1, false});
      g.roster.set_next_slot(last + 1);
    };
  };
  EndlessRun one("1\n9\n", 2);
  one.at_upgrade = fill_to(1003);
  one.random.script(zeros(4 + 5 + 5));
  endless(one.g);
  EXPECT_EQ(one.from("即将开始第2波攻击...", "！\n"),
            "即将开始第2波攻击...[cls]战斗开始\n生成了血量为160，属性为1的敌人！\n");
  EXPECT_EQ(one.g.roster.next_slot(), 1005);

  EndlessRun none("1\n9\n", 99);
  none.at_upgrade = fill_to(1004);
  none.random.script(zeros(4 + 5));
  endless(none.g);
  EXPECT_TRUE(none.transcript().ends_with(
      "即将开始第2波攻击...[cls]战斗开始\n你最后挑战到第2关！\n如果想再来请重新运行程序"));
  EXPECT_GT(none.g.roster[1].hp, 0);
}

}  // namespace
}  // namespace morvane
