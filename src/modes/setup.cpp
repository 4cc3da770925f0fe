#include "modes/setup.hpp"

#include <algorithm>
#include <utility>

#include "mechanics/narrate.hpp"
#include "model/codes.hpp"
#include "model/roster.hpp"
#include "model/wrap.hpp"

namespace morvane {

void create_fighter(Game& g, const std::string& name, std::int32_t team, Mode mode,
                    Position position) {
  g.roster.add([&](Fighter& x) {
    Stats stats = typed_stats(g);
    std::int32_t attribute = g.rand() % 8 + 1;
    std::int32_t stacks = 1;
    // The dark match: the attribute is still drawn, then overwritten.
    if (mode == Mode::DarkMatch) {
      attribute = attribute::kDark;
      stacks = 4;
    }
    apply_named_character(g, name, position, stats, attribute);
    enlist(x, {.name = name,
               .team = team,
               .stats = stats,
               .attribute = attribute,
               .curse_stacks = stacks,
               .ultimate_level = 1});
  });
}

std::vector<TeamMember> split_team(std::string_view names) {
  std::vector<TeamMember> members;
  std::string name;
  for (char byte : names) {
    if (byte == '/') {
      members.push_back({std::move(name), Position::Inner});
      name.clear();
    } else {
      name += byte;
    }
  }
  members.push_back({std::move(name), Position::Closing});
  return members;
}

void add_team(Game& g, std::int32_t team, const std::vector<TeamMember>& members, Mode mode) {
  for (const TeamMember& m : members)
    create_fighter(g, m.name, team, mode, m.position);
}

void add_team(Game& g, std::int32_t team, std::string_view names, Mode mode) {
  add_team(g, team, split_team(names), mode);
}

void apply_mode(Game& g, Mode mode) {
  if (mode != Mode::DarkMatch) return;
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    g.roster.set_hp(i, wmul(g.roster[i].hp, 50));
    g.roster.set_max_hp(i, wmul(g.roster[i].max_hp, 50));
    g.roster.set_curse_stacks(i, 4);
  }
  // The curse on every turn, the bouncing blade never.
  writable_skill_threshold(g, attribute::kDark, 0) = 0;
  writable_skill_threshold(g, attribute::kDark, 1) = 100;
}

void team_setup(Game& g, Mode mode) {
  g.console.clear();
  say(g, "请输入队伍总数(可以一人一队但绝对不可以空队):");
  // The roster has room for 1004 fighters, so there can be no more teams than that.
  g.counted_teams = std::min(g.console.read_number(), kMaxSlot);
  line(g, "接下来输入每队的人物名字(P.S不可以重名哦)");
  for (std::int32_t i = 1; i <= g.counted_teams; ++i) {
    line(g, "现在请输入第", i, "队的人物名字，名字之间用英文输入法的/隔开，结尾不用输/");
    add_team(g, i, g.console.read_word(), mode);
  }
  apply_mode(g, mode);
}

void stat_table(Game& g) {
  line(g, "下面的数值分别代表名字，血量，攻击，防御，魔力，属性，队伍");
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i) {
    const Fighter& x = g.roster[i];
    line(g, x.name, " ", x.hp, " ", x.atk, " ", x.def, " ", x.magic, " ", x.attribute, " ", x.team);
    pause(g, 50);
  }
}

}  // namespace morvane
