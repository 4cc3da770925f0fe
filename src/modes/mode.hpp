#pragma once
// The menu's modes, by the number the player types at it.

#include <cstdint>
#include <string_view>

namespace morvane {

enum class Mode : std::int32_t {
  TeamMatch = 1,        // teams of typed names
  DarkMatch = 2,        // the team match with every fighter a dark wizard at full stacks
  Endless = 3,          // one fighter against ever larger levels of enemies
  AuthorChallenge = 4,  // three challengers against the author
};

// The mode's name as the menu shows it.
constexpr std::string_view mode_name(Mode mode) {
  switch (mode) {
    case Mode::TeamMatch:
      return "正常模式";
    case Mode::DarkMatch:
      return "疯狂阿瓦达模式";
    case Mode::Endless:
      return "无尽模式";
    case Mode::AuthorChallenge:
      return "与作者的战斗";
  }
  return {};
}

}  // namespace morvane
