#include "mechanics/checks.hpp"
#include "mechanics/narrate.hpp"
#include "modes/modes.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

namespace morvane {

void team_match(Game& g, Mode mode) {
  team_setup(g, mode);
  stat_table(g);
  pause(g, 500);
  endl(g);
  pause(g, 500);
  line(g, "战斗开始");
  pause(g, 1000);
  game_over(g, run_battle(g));
}

MatchOutcome silent_team_match(Game& g, const std::vector<std::vector<TeamMember>>& teams,
                               Mode mode) {
  g.options.silent = true;
  g.counted_teams = static_cast<std::int32_t>(teams.size());
  for (std::int32_t t = 1; t <= g.counted_teams; ++t)
    add_team(g, t, teams[static_cast<std::size_t>(t - 1)], mode);
  apply_mode(g, mode);
  MatchOutcome outcome;
  outcome.contested = !check_victory(g);
  outcome.decided = run_battle(g);
  outcome.winner = outcome.decided ? winner(g) : 0;
  return outcome;
}

void game_over(Game& g, bool decided) {
  pause(g, 500);
  line(g, "游戏结束！");
  pause(g, 500);
  say(g, "目前血量：");
  for (std::int32_t i = 1; i < g.roster.next_slot(); ++i)
    say(g, g.roster[i].hp, " ");
  pause(g, 1000);
  endl(g);
  // standing_per_team and counted_teams are as the battle's last victory check and round end left
  // them.
  const std::int32_t t = decided ? winner(g) : 0;
  if (t != 0) line(g, "胜利的是第", t, "队");
  pause(g, 1000);
  say(g, "如果想再来请重新运行程序");
  g.outcome = {.over = true, .decided = decided, .winner = t};
  pause(g, 1000);
}

}  // namespace morvane
