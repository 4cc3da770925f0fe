#pragma once
// The page's board: the roster as it stands, taken from the game each time the page is handed
// narration and sent to the page as plain numbers, with a fighter's name and skills only when
// they change. This is the one file of the page that reads the game's records; it never writes
// them, and the rules do not know it is there.

#include <cstdint>
#include <string>
#include <vector>

#include "model/game.hpp"

namespace morvane::web {

class RosterView {
 public:
  // The game whose roster is shown from now on (a session's new game); nullptr once it is over.
  void watch(const Game* g);
  // Hands the page the roster as it stands now.
  void send();

 private:
  void describe(std::int32_t slot);

  const Game* game_ = nullptr;
  std::vector<std::int32_t> numbers_;  // what page.roster() receives, see roster_view.cpp
  std::vector<std::string> names_;     // by slot, as last sent
  std::vector<std::int32_t> attributes_;
  std::vector<std::int32_t> described_;  // slot, bytes of the label: one pair per label
  std::string labels_;
};

}  // namespace morvane::web
