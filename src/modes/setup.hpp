#pragma once
// Turning typed names into fighters, and the table of everyone's values.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/game.hpp"
#include "model/roster.hpp"
#include "modes/mode.hpp"

namespace morvane {

// Where a name stood in its team line: ended by a '/' or the last of the line. Three named
// characters come out differently in the two places.
enum class Position { Inner, Closing };

// Makes a fighter of the given team from a typed name in slot next_slot: the five base draws, the
// dark match's rule, the named characters' rules. Does nothing when the roster is full.
void create_fighter(Game& g, const std::string& name, std::int32_t team, Mode mode,
                    Position position);

// Applies the named-character rules to a fighter being made from a typed name: values drawn
// from higher ranges or scaled, and an attribute of its own. Other names change nothing.
void apply_named_character(Game& g, std::string_view name, Position position, Stats& stats,
                           std::int32_t& attribute);

// One name of a team line, and where it stood.
struct TeamMember {
  std::string name;
  Position position;
};
// A line of '/'-separated names cut into its names, in typing order. The last name counts even
// when it is empty (a line ending in '/').
std::vector<TeamMember> split_team(std::string_view names);

// Makes team `team` from its line of '/'-separated names, in typing order.
void add_team(Game& g, std::int32_t team, std::string_view names, Mode mode);
// The same from a line already cut (a batch run plays the same lines many times).
void add_team(Game& g, std::int32_t team, const std::vector<TeamMember>& members, Mode mode);

// What the mode changes once every team is made. The dark match: fifty times the hit points,
// full curse stacks, the curse on every turn. The team match: nothing.
void apply_mode(Game& g, Mode mode);

// Reads the team count and one line of '/'-separated names per team (modes 1 and 2), and makes
// the mode's changes.
void team_setup(Game& g, Mode mode);

// "下面的数值分别代表名字，血量，攻击，防御，魔力，属性，队伍" and one row per fighter.
void stat_table(Game& g);

}  // namespace morvane
