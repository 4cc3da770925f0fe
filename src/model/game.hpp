#pragma once
// One game: the rules' state (the roster, the team records, the counters and the skill
// thresholds), the wiring (the console it talks through, the random source it draws from, who
// listens), and the options it runs with. Nothing is global, so several games can run side by
// side.
//
// Glossary: the rules' own short names, for whoever reads the code beside them. The code uses
// the full names only.
//
//   short name    word            in the code
//   rw            人物            Fighter
//   dw            队伍            TeamCalls; protect is needs_cover, converge (集火) is focus
//   a, rs         -               Game::roster, Roster::next_slot()
//   b             -               Game::team_calls
//   n             -               Game::counted_teams
//   chrs          -               Game::standing_per_team
//   hhs           回合数          Game::round_count
//   maxhp         -               Fighter::max_hp
//   ml            魔力            Fighter::magic
//   sx            属性            Fighter::attribute, the names in namespace attribute
//   zt            状态            Fighter::status, the codes in namespace status
//   cs            层数            Fighter::curse_stacks
//   oy, flag      奥义            Fighter::ultimate_level, Fighter::casting_ultimate
//   jnm, jncxgl   技能名, 概率    skill_name(), Game::skill_thresholds
//   jnbh          技能编号        skill: which of an attribute's two skills, 0 or 1
//   cljn          处理技能        cast()
//   game()        -               run_battle()
//   checkwin      -               check_victory()
//   checklivings  存活的敌人数    living_enemies()
//   ater, beat    -               attacker (caster in a skill), target
//   mlz           -               Cast::magic, the caster's magic when the cast began
//   ratk, hurts   -               a blow and the damage it deals
//   bekn          -               a slot drawn while a skill seeks its next target
//   knx           -               the target strategy

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/fighter.hpp"
#include "model/headcount.hpp"
#include "model/random.hpp"
#include "model/slots.hpp"
#include "model/tables.hpp"

namespace morvane {

class Console;

// Told of every skill as it is cast, so a tool or a test can see who cast what.
class CastListener {
 public:
  virtual ~CastListener() = default;
  virtual void cast(std::int32_t caster, std::int32_t attribute, int skill) = 0;
};

class Game;

// Battles of this many fighters or more search their targets in an index (see GameOptions).
inline constexpr std::int32_t kIndexFrom = 48;

// What the round driver carries from turn to turn through one battle, beyond the game's own
// records: enough to take the battle up again at the start of its next round.
struct BattleState {
  std::int32_t attacker = 0;  // the last combatant whose turn reached its action; 0 before any
  std::int32_t target = 0;    // the current target; kept when a search finds nothing; 0 before any
  std::int64_t rounds = 0;    // rounds of this battle played to their end
};

// Told at the end of every battle round that the battle outlives, once the round's hit-point
// line is written, so a front end can show how the battle stands (the live odds).
class RoundListener {
 public:
  virtual ~RoundListener() = default;
  virtual void round_ended(const Game& g, const BattleState& battle) = 0;
};

// How a game came out, as its closing lines told it: for a front end's record of the games
// played. Nothing in the rules reads it.
struct GameOutcome {
  bool over = false;        // a mode ran to its closing lines
  bool decided = true;      // false when the round cap ended the last battle as a draw
  std::int32_t winner = 0;  // the team named the winner; 0 when none was
  std::int32_t level = 0;   // endless mode: the level the run ended at
};

// How a game runs, set by whoever starts it.
struct GameOptions {
  // Nothing is narrated: say, line, endl, pause and colour do nothing (their arguments, draws
  // included, are still evaluated). For batch runs and the odds' continuations, where nobody
  // watches.
  bool silent = false;
  // A battle still undecided after this many rounds ends as a draw; 0 is no cap. Some battles
  // can never be won (summons that block each other), and every game must end.
  std::int64_t max_rounds = 0;
  // Battles of this many fighters or more search their targets in an index.
  std::int32_t index_from = kIndexFrom;
};

class Game {
 public:
  Game(Console& out, Random& source) : console(out), random(source) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // The rules' state, which copy_state_from() takes along.
  Roster roster;
  Slots<TeamCalls> team_calls;     // by team number
  std::int32_t counted_teams = 0;  // the victory check counts teams 1 ... counted_teams
  Headcount standing_per_team;
  std::int32_t round_count = 1;                         // 1 only in the game's first round
  SkillThresholds skill_thresholds = kSkillThresholds;  // writable: modes change the odds
  std::int32_t mode = 0;  // the menu's answer (see modes/mode.hpp); 0 before it is read

  // How the game ended, once it has; copy_state_from() leaves it.
  GameOutcome outcome;

  // The wiring.
  Console& console;
  Random& random;
  CastListener* on_cast = nullptr;
  RoundListener* on_round_end = nullptr;

  GameOptions options;

  // Back to the state of a new game, with the same wiring and options. Only what a game can
  // have used is cleared.
  void reset();

  // Takes the rules' state of `other`, to play on from where it stands with this game's own
  // wiring and options.
  void copy_state_from(const Game& other);

  std::int32_t rand(const Where& where = Where::here()) { return random.draw(where); }
};

// Skill names and thresholds of an attribute, safe for any value: an attribute without a row
// has no skill name and a threshold no draw reaches.
inline bool has_skill_row(std::int32_t attribute) {
  return attribute >= 1 && attribute <= kAttributes;
}
// Inline: every cast names its skill, silent or not, and a call the compiler cannot see into
// would make it read the game's values afresh after it.
inline std::string_view skill_name(const Game&, std::int32_t attribute, int k) {
  if (!has_skill_row(attribute)) return {};
  return kSkillNames[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}
// Inline: every turn of every fighter with an attribute reads it.
inline std::int32_t skill_threshold(const Game& g, std::int32_t attribute, int k) {
  if (!has_skill_row(attribute)) return 101;
  return g.skill_thresholds[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}
// The threshold of skill k of an attribute, to change the odds; the attribute must have a row.
std::int32_t& writable_skill_threshold(Game& g, std::int32_t attribute, int k);

}  // namespace morvane
