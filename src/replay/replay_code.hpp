#pragma once
// A replay code: one fight as a line of text that a player can paste into `morvane replay` or
// put after the '#' of the page's address, e.g. MV1-AGQAAB...
//
// A fight is the seed, the battle round cap, every answer the rules consumed and a digest of
// the narration they produced. The rules draw from the seeded generator and hear only those
// answers, so the same rules replay the same fight; the digest tells when they are not the same
// rules (another version of the game) instead of quietly showing a different fight.
//
// The text is "MV1-" and then base64url without padding. Its bytes (the payload):
//   flags      1 byte: bit 0 = the body is compressed (replay/lz.hpp); other bits are 0
//   body       if compressed: varint length of the plain body, then the LZ stream
//              plain body:
//                seed        varint
//                round cap   varint, zigzag of (cap - 100000) wrapped to 64 bits
//                digest      4 bytes, little-endian
//                answers     to the end, each a varint h:
//                              h even: a number, zigzag(number) = h >> 1
//                              h odd:  a name line of h >> 1 bytes, which follow
//   check      4 bytes, little-endian: CRC-32 of flags and body
// A different layout gets a new number after "MV"; codes of a newer number are refused as
// such, not as damaged.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane::replay {

// One answer as the rules received it: a number (after the reader passed over junk) or a name
// line (any bytes, usually UTF-8).
struct Answer {
  bool is_number = true;
  std::int32_t number = 0;  // 0 for a name line
  std::string text;         // empty for a number

  static Answer of_number(std::int32_t n) { return {true, n, {}}; }
  static Answer of_text(std::string line) { return {false, 0, std::move(line)}; }
  friend bool operator==(const Answer&, const Answer&) = default;
};

struct Fight {
  std::uint32_t seed = 0;
  std::int64_t max_rounds = 0;  // 0 = no cap; never negative (such a code is damaged)
  std::vector<Answer> answers;
  std::uint32_t digest = 0;  // of the narration, see DigestConsole
  friend bool operator==(const Fight&, const Fight&) = default;
};

// Bounds on what a code may hold, checked the same way by encode and decode: a code that
// encode gives, decode takes. A game typed by a person stays far below them.
inline constexpr std::size_t kMaxCodeLength = 64 * 1024;   // characters of "MV1-..."
inline constexpr std::size_t kMaxPlainSize = 1024 * 1024;  // bytes of the plain body
inline constexpr std::size_t kMaxAnswers = 100000;

// The code of a fight, or an empty string when the fight is beyond the bounds above (names
// typed by the megabyte): the caller then says the fight is too large for a code.
std::string encode(const Fight& fight);

enum class DecodeError {
  None,
  Damaged,   // not a code, or a code with a changed, missing or extra character
  Newer,     // made by a newer Morvane (a higher number after "MV")
  TooLarge,  // beyond the bounds above
};

struct DecodeResult {
  std::optional<Fight> fight;
  DecodeError error = DecodeError::None;
  std::string message;  // for the player, in Chinese; empty when the code was read
};

// Takes the code wherever find_code() finds it in `text` (replay/pasted_code.hpp): alone, with
// blanks around or inside it, in a copied closing line or a page address, in a file's bytes.
DecodeResult decode(std::string_view text);

}  // namespace morvane::replay
