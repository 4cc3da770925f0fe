#pragma once
// One game: the roster, the team records, the counters and the skill tables, with the console
// it talks through and the random source it draws from. Nothing is global, so several games can
// run side by side.
//
// The game keeps its own short names; here is what each means, once for the whole code.
//
//   name          word            meaning
//   Fighter            人物            one combatant's record
//   TeamCalls            队伍            one team's record of calls
//   a, next_slot         -               the roster of combatants by slot; next_slot is the next
//   free slot b             -               the team records by team number n             - how
//   many teams the victory check examines standing_per_team          -               living members
//   per team, as the last victory check counted round_count           回合数          the round
//   counter attribute 属性 attribute: selects a combatant's two skills status            状态
//   status code (water prison, ice, torment, bleeding, ...) curse_stacks            层数 a counter:
//   the stacks of the dark killing curse ultimate_level            奥义            ultimate level;
//   every ultimate raises it magic            魔力            magic; most skills scale with it
//   skill_names 技能名          skill names, skill_names[attribute-1][k] skill_thresholds
//   技能出现概率    skill thresholds, skill_thresholds[attribute-1][k] skill          技能编号
//   which of an attribute's two skills: 0 or 1 cast          处理技能        casting a skill
//   living_enemies  存活的敌人数    the living enemies of a combatant check_victory      - the
//   victory check attacker, target
//   - the one who strikes and the one struck mlz           -               the caster's magic when
//   the cast began value, damage   -               a blow's attack value, and the damage it deals
//   drawn          -               a slot drawn at random while a skill seeks its next target
//   protect       掩护            the team member who last called for cover
//   converge      集火            the enemy the team last agreed to focus fire on

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/fighter.hpp"
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

struct Game;

// Battles of this many fighters or more search their targets in an index (see Game::index_from).
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

struct Game {
  Game(Console& out, Random& source) : console(out), random(source), lcg_(source.plain_lcg()) {}
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  Slots<Fighter> roster;           // the roster; combatants live in slots 1 ... next_slot-1
  std::int32_t next_slot = 1;      // next free roster slot
  Slots<TeamCalls> team_calls;     // per-team focus-fire and cover calls
  std::int32_t counted_teams = 0;  // number of teams the victory check examines
  Slots<std::int32_t>
      standing_per_team;         // living members per team, as the last check_victory counted them
  std::int32_t round_count = 1;  // 1 only in the run's first round
  const SkillNames& skill_names = kSkillNames;
  SkillThresholds skill_thresholds = kSkillThresholds;  // writable: modes change the odds

  Console& console;
  Random& random;
  CastListener* on_cast = nullptr;
  RoundListener* on_round_end = nullptr;
  // Nothing is narrated: say, line, endl, pause and colour do nothing (their arguments, draws
  // included, are still evaluated). For batch runs and the odds' continuations, where nobody
  // watches.
  bool silent = false;
  // A battle still undecided after this many rounds ends as a draw; 0 is no cap. Some battles
  // can never be won (summons that block each other), and every game must end.
  std::int64_t max_rounds = 0;

  // Highest team number whose standing_per_team entry may be non-zero; lets check_victory clear
  // only what it used.
  std::int32_t top_standing_team = kMaxSlot;
  // One past the highest slot ever written (next_slot can fall back, between endless levels).
  std::int32_t used = 1;

  // Two living fighters of different counted teams, as the last full victory check found them:
  // while both still stand the battle is not over, and the quick check need count nobody.
  std::array<std::int32_t, 2> standing{};

  // Large battles answer the target search from an index rather than a scan of the roster. The
  // index keeps its own copy of what the searches read (hit points, attack, defence, attribute,
  // team): every rule that changes one of those during a battle calls touched() on the slot.
  std::int32_t index_from = kIndexFrom;  // fighters from which a battle keeps the index
  bool watching = false;                 // a battle's index is listening
  std::vector<std::int32_t> changed;
  void touched(std::int32_t i) {
    if (watching) changed.push_back(i);
  }

  // Back to the state of a new game, with the same console, random source and round cap. Only
  // what a game can have used is cleared.
  void reset();

  // Takes the roster, team calls, counters and skill thresholds of `other`, to play on from
  // where it stands with this game's own console, random source, round cap and listeners.
  void copy_state_from(const Game& other);

  std::int32_t rand(const Where& where = Where::here()) {
    return lcg_ != nullptr ? lcg_->next() : random.draw(where);
  }

 private:
  Lcg* lcg_;  // the random source itself when it is the classic generator and nothing more

 public:
};

// Skill names and thresholds of an attribute, safe for any value: an attribute without a row
// has no skill name and a threshold no draw reaches.
std::string_view skill_name(const Game& g, std::int32_t attribute, int k);
inline bool has_skill_row(std::int32_t attribute) {
  return attribute >= 1 && attribute <= kAttributes;
}
// Inline: every turn of every fighter with an attribute reads it.
inline std::int32_t skill_threshold(const Game& g, std::int32_t attribute, int k) {
  if (!has_skill_row(attribute)) return 101;
  return g.skill_thresholds[static_cast<std::size_t>(attribute - 1)][static_cast<std::size_t>(k)];
}
// The threshold of skill k of attribute attribute, to change the odds; attribute must have a row.
std::int32_t& writable_skill_threshold(Game& g, std::int32_t attribute, int k);

}  // namespace morvane
