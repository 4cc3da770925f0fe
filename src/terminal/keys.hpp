#pragma once
// Keys as a terminal sends them: one key can be several bytes (an arrow's escape sequence, a
// character of UTF-8), and what a key means while a battle is narrated.

#include <cstddef>
#include <string_view>

namespace morvane::keys {

// The bytes of the first key in `bytes`, or 0 when they may be only its beginning (more should
// follow at once). An escape sequence (CSI "ESC [", SS3 "ESC O", with parameters and
// intermediates) ends at its final byte; a character takes all of its bytes, as UTF-8 or, with
// `gbk`, as GBK (a lead byte 0x81-0xFE and a trail 0x40-0xFE but 0x7F, which may be 'P' or 'p')
// or GB18030's four bytes; ESC before another key is Alt with that key; anything else is one
// byte. A sequence broken by a byte that cannot continue it ends before that byte.
std::size_t key_length(std::string_view bytes, bool gbk = false);

// What the player asks for by a key during a battle's narration.
enum class Control {
  None,
  FastForward,  // Space or Enter: the rest of this battle without pauses
  Faster,       // +: double the pace
  Slower,       // -: halve it
  Pause,        // p: wait for the next key
  Help,         // ?: show the keys, and wait for the next key
  Quit,         // q: end the game, as Ctrl-C does
};
Control control_of(std::string_view key);

}  // namespace morvane::keys
