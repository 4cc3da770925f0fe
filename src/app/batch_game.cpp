#include "app/batch_game.hpp"

namespace morvane {

BatchGame::BatchGame(const std::atomic<bool>* stop)
    : random_(0), game_(std::make_unique<Game>(console_, random_)) {
  if (stop != nullptr) stop_check_.emplace(*stop);
}

BatchGame::Played BatchGame::play(std::uint32_t seed, const Teams& teams, Mode mode,
                                  std::int64_t max_rounds, RoundListener* watcher) {
  Game& g = *game_;
  g.reset();
  random_.srand(seed);
  g.options.max_rounds = max_rounds;
  if (stop_check_) {
    stop_check_->next = watcher;
    g.on_round_end = &*stop_check_;
  } else {
    g.on_round_end = watcher;
  }
  Played played;
  played.match = silent_team_match(g, teams, mode);
  played.rounds = !played.match.decided ? max_rounds : played.match.contested ? g.round_count : 0;
  return played;
}

}  // namespace morvane
