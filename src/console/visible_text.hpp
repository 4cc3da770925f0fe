#pragma once
// Text as a terminal is given it: whatever a name holds (and a name can come from anyone, in a
// replay code), it never commands the terminal. Escape sequences could retitle the window, write
// the clipboard or redraw the screen; so every control character is shown instead, the way
// `cat -v` shows it:
//   ^@ ... ^_   the C0 controls, ESC as ^[ (tab and line end stay as they are)
//   ^?          DEL
//   M-^@ ... M-^_   the C1 controls U+0080 ... U+009F
// and a byte that is no part of a character of the terminal's encoding as M- and the character
// of its low seven bits (M-^[ for a stray 0x9B, M-i for 0xE9), so that no terminal can take it
// for an 8-bit control either. Everything else, Chinese included, is left as it is.

#include <string>
#include <string_view>

#include "console/platform.hpp"

namespace morvane {

// UTF-8 text for a UTF-8 terminal, or before it is converted for a GBK one.
std::string visible_utf8(std::string_view text);

// GBK text as the conversion from visible UTF-8 gave it: a character that GBK does not have was
// passed through as its UTF-8 bytes, and those that make no GBK character are shown as above.
std::string visible_gbk(std::string_view text);

// UTF-8 text as a terminal is given it: visible, and in GBK when `to_gbk` is given (a character
// that GBK does not have passes through the conversion as its UTF-8 bytes, and those that make
// no GBK character are shown as above).
std::string visible_on_terminal(std::string_view text, platform::Transcoder* to_gbk);

}  // namespace morvane
