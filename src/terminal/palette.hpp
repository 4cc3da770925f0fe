#pragma once
// The game's eight colours as escape sequences, 0 being the terminal's normal colour, in the
// palettes the player can choose; and what a terminal says of its background.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

using Palette = std::array<std::string_view, 8>;

// The rules' own colours: bright ones on the terminal's own background, as a pipe gets them
// unless a palette is asked for.
inline constexpr Palette kPalette = {
    "\x1b[0m", "\x1b[96m", "\x1b[92m", "\x1b[95m", "\x1b[91m", "\x1b[94m", "\x1b[93m", "\x1b[90m",
};

// For a dark background: the rules' colours, but the grey of the hint, the odds and the notes
// is one of the 256-colour grey ramp (138, 138, 138), which reads on black (6.1:1) and on the
// usual dark themes (3.7:1 and more) as well as on white (3.5:1), where the terminal's own
// "bright black" can be as dark as its background (2.4:1).
inline constexpr std::string_view kReadableGrey = "\x1b[38;5;245m";
inline constexpr Palette kDarkPalette = {
    "\x1b[0m",  "\x1b[96m", "\x1b[92m", "\x1b[95m",
    "\x1b[91m", "\x1b[94m", "\x1b[93m", kReadableGrey,
};

// For a light background: colours of the 256-colour cube, whose values terminals agree on, each
// at least 3:1 against white (cyan 4.4, green 4.7, magenta 6.1, red 5.4, blue 5.8, yellow 3.3),
// where the bright ones are 1.1 to 1.4:1.
inline constexpr Palette kLightPalette = {
    "\x1b[0m",        "\x1b[38;5;30m", "\x1b[38;5;28m",  "\x1b[38;5;127m",
    "\x1b[38;5;160m", "\x1b[38;5;26m", "\x1b[38;5;136m", kReadableGrey,
};

// Whether COLORFGBG ("fg;bg", or "fg;default;bg", as rxvt and Konsole set it) names a light
// background: the colours 7 and 9 ... 15 are light, 0 ... 6 and 8 dark. Nothing when it says
// nothing of the kind.
std::optional<bool> light_from_colorfgbg(std::string_view value);

// The question that asks an xterm-like terminal for its background colour, followed by one
// that every terminal answers (primary device attributes), so that a terminal that does not
// know the first is found out without waiting for the time to run out.
inline constexpr std::string_view kBackgroundQuestion = "\x1b]11;?\x1b\\\x1b[c";
// Whether `answers` (what the terminal sent back) hold the answer to the last question.
bool background_answers_ended(std::string_view answers);
// What `answers` hold besides the answers to the question: keys typed meanwhile.
std::string besides_answers(std::string_view answers);
// Whether the terminal's answer "ESC ] 11 ; rgb:RRRR/GGGG/BBBB" (ended by BEL or ESC \) names a
// light colour: one that black text contrasts with better than white does. Nothing when the
// answers hold no such colour.
std::optional<bool> light_from_background_answer(std::string_view answers);

}  // namespace morvane
