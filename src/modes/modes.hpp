#pragma once
// The four modes of the menu, each from its set-up to its last line.

#include <cstdint>
#include <vector>

#include "model/game.hpp"
#include "modes/mode.hpp"
#include "modes/setup.hpp"

namespace morvane {

// The whole program after the random source is seeded: welcome, menu, the chosen mode.
void play_game(Game& g);

// Modes 1 and 2: teams of typed names (mode 2 is the dark match).
void team_match(Game& g, Mode mode);

// How a team match with nobody watching came out.
struct MatchOutcome {
  bool contested = false;   // two teams or more had someone standing when the battle began
  bool decided = false;     // false when the round cap cut the battle
  std::int32_t winner = 0;  // the team the game names, as game_over does; 0 for none
};
// The team match as simulate plays it, many times over: the teams from lines already cut, the
// mode's changes and the battle, with no prompt, nothing narrated and no closing lines. The
// draws are those of the game the player sees with the same seed and lines.
MatchOutcome silent_team_match(Game& g, const std::vector<std::vector<TeamMember>>& teams,
                               Mode mode);
// Mode 3: one fighter against ever larger levels of generated enemies.
void endless(Game& g);
// Mode 4: three challengers against the author.
void author_challenge(Game& g);

// "游戏结束！", everyone's hit points, the winning team (none after a draw) and the closing line.
void game_over(Game& g, bool decided);

// Reads an attribute at the prompts of modes 3 and 4: numbers outside 0 ... 33 are passed over,
// and 33, the author's own, becomes the creeper's 13.
std::int32_t read_attribute(Game& g);

}  // namespace morvane
