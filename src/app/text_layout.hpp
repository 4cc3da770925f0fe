#pragma once
// Text laid out for a terminal: how many columns it takes, and lines wrapped to a width.

#include <string>
#include <string_view>

namespace morvane {

// The columns UTF-8 text takes on a terminal: two for each wide or fullwidth character (Chinese
// characters and punctuation), one for any other character and for each byte that is not UTF-8.
int display_width(std::string_view text);

// Wraps each line of `text` that is wider than `width` columns. A line breaks at a space,
// between two Chinese characters, or between Chinese and other text; never inside a run of
// other characters (a number, an option, a word), never before closing punctuation (，。）…)
// and never after opening punctuation (（“…). Its continuation lines hang at the column where
// its text after a gap of two or more spaces begins (an option's or a mode's description),
// else at its own indentation. A run too wide for a line of its own is left whole.
std::string wrap_text(std::string_view text, int width);

}  // namespace morvane
