#pragma once
// The game's eight colours as escape sequences: bright colours on the terminal's own
// background, 0 being the terminal's normal colour.

#include <array>
#include <string_view>

namespace morvane {

inline constexpr std::array<std::string_view, 8> kPalette = {
    "\x1b[0m", "\x1b[96m", "\x1b[92m", "\x1b[95m", "\x1b[91m", "\x1b[94m", "\x1b[93m", "\x1b[90m",
};

}  // namespace morvane
