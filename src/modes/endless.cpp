#include <cstddef>

#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "model/roster.hpp"
#include "model/wrap.hpp"
#include "modes/modes.hpp"
#include "modes/round.hpp"

namespace morvane {
namespace {

constexpr const char* kStatsHeading = "下面的数值分别代表你的血量，攻击，防御，魔力，属性";

void player_stats(Game& g) {
  const Fighter& me = g.roster[1];
  line(g, me.hp, " ", me.atk, " ", me.def, " ", me.magic, " ", me.attribute);
}

// The player's fighter "你" in slot 1, of the attribute chosen at the prompt.
void make_player(Game& g) {
  line(g, "你需要什么属性？(1~8分别为: 1火,2水,3电,4地,5冰,6疗,7黑,8召)");
  const std::int32_t chosen = read_attribute(g);
  pause(g, 500);
  constexpr StatRanges kPlayerRanges{250, 250, 50, 50, 30, 20, 80, 20};
  g.roster.add(
      [&](Fighter& me) { enlist(me, fresh_recruit("你", 1, kPlayerRanges.draw(g), chosen)); });
  g.counted_teams = 2;
  line(g, "你的其他属性初始化完毕");
  line(g, kStatsHeading);
  player_stats(g);
  pause(g, 2000);
}

// Level L brings L enemies whose four values grow by 10 per level. They never cast an ultimate
// (ultimate level 0). An enemy that would not fit in the roster is not made.
void make_enemies(Game& g, std::int32_t level) {
  const std::int32_t step = wmul(level, 10);
  for (std::int32_t i = 1; i <= level; ++i) {
    g.roster.add([&](Fighter& x) {
      const Stats drawn{wadd(g.rand() % 250 + 140, step), wadd(g.rand() % 50 + 40, step),
                        wadd(g.rand() % 30 + 10, step), wadd(g.rand() % 80 + 10, step)};
      enlist(x, {.name = "敌人",
                 .team = 2,
                 .stats = drawn,
                 .attribute = g.rand() % 7 + 1,
                 .curse_stacks = 1,
                 .ultimate_level = 0});
      line(g, "生成了血量为", x.hp, "，属性为", x.attribute, "的敌人！");
      pause(g, 100);
    });
  }
}

// The menu's items 5 and 6 raise the odds of the attribute's two skills.
constexpr std::int32_t kFirstSkillItem = 5;

// The upgrade menu after a won level, and the choice applied to the player's fighter.
void upgrade(Game& g, std::int32_t level) {
  const Fighter& me = g.roster[1];
  const std::int32_t step = wmul(level, 10);
  // The skill tables have no row for attribute 0, so its two skill items are left out.
  const bool skills = has_skill_row(me.attribute);
  line(g, "1.增加血量上限至", wadd(me.max_hp, step), "且回满血量");
  line(g, "2.增加攻击力至", wadd(me.atk, step));
  line(g, "3.增加防御力至", wadd(me.def, step));
  line(g, "4.增加魔力至", wadd(me.magic, step));
  if (skills) {
    for (int k = 0; k < 2; ++k) {
      line(g, kFirstSkillItem + k, ".增加", skill_name(g, me.attribute, k), "的出现概率至",
           wadd(wsub(100, skill_threshold(g, me.attribute, k)), level), "%");
    }
  }
  line(g, "7.随机抽取一个属性(可能会很强也可能会弱到爆炸)");
  line(g, "其他.放弃");

  const std::int32_t choice = g.console.read_number();
  if (choice == 1) {
    g.roster.set_max_hp(1, wadd(me.max_hp, step));
    g.roster.set_hp(1, me.max_hp);
  } else if (choice == 2) {
    g.roster.set_atk(1, wadd(me.atk, step));
  } else if (choice == 3) {
    g.roster.set_def(1, wadd(me.def, step));
  } else if (choice == 4) {
    g.roster.set_magic(1, wadd(me.magic, step));
  } else if ((choice == kFirstSkillItem || choice == kFirstSkillItem + 1) && skills) {
    // The thresholds belong to the attribute: the enemies of it gain as much as the player.
    std::int32_t& threshold = writable_skill_threshold(g, me.attribute, choice - kFirstSkillItem);
    threshold = wsub(threshold, level);
  } else if (choice == 7) {
    g.roster.set_attribute(1, g.rand() % 24 + 1);
    line(g, "你现在的属性是", me.attribute);
  } else {
    line(g, "你选择放弃。");
  }
}

// Team 1 moves to the front in its old order, dead or alive; the enemies fall behind next_slot.
void compact(Game& g) {
  std::int32_t c = 2;
  for (std::int32_t i = 2; i < g.roster.next_slot(); ++i) {
    if (g.roster[i].team == 1) {
      if (i != c) g.roster.swap(i, c);
      ++c;
    }
  }
  g.roster.set_next_slot(c);
}

// After a won level: the upgrade, and the roster made ready for the next.
void level_won(Game& g, std::int32_t level) {
  line(g, "你通过了第", level, "关");
  pause(g, 500);
  line(g, "你目前的血量，攻击，防御，魔力，属性:");
  player_stats(g);
  pause(g, 1000);
  line(g, "你可以选择一个加成");
  pause(g, 300);
  upgrade(g, level);
  pause(g, 500);
  line(g, kStatsHeading);
  player_stats(g);
  pause(g, 1000);
  compact(g);
  endl(g);
  say(g, "即将开始第", level + 1, "波攻击...");
  pause(g, 1000);
}

// One level's battle. Returns whether the player won it.
bool fight_level(Game& g, std::int32_t level) {
  g.console.clear();
  g.roster.set_status(1, status::kNone);
  line(g, "战斗开始");
  const std::int32_t first_enemy = g.roster.next_slot();
  make_enemies(g, level);
  // With no enemy at all the level would be won at once, again and again: the player's summons
  // have filled the roster, and the run ends here.
  if (g.roster.next_slot() == first_enemy) return false;
  pause(g, 100);
  // A level that the round cap ends as a draw is lost.
  const bool decided = run_battle(g);
  pause(g, 500);
  return decided && g.roster[1].hp > 0;
}

}  // namespace

void endless(Game& g) {
  make_player(g);
  for (std::int32_t level = 1; g.roster[1].hp > 0; ++level) {
    if (!fight_level(g, level)) {
      line(g, "你最后挑战到第", level, "关！");
      pause(g, 1000);
      say(g, "如果想再来请重新运行程序");
      g.outcome = {.over = true, .level = level};
      pause(g, 1000);
      return;
    }
    level_won(g, level);
  }
}

}  // namespace morvane
