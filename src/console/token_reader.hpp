#pragma once
// The player's input as whitespace-delimited tokens, read in bounded memory whatever its size.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace morvane {

// What the reader keeps of the input, at most. Nothing within them changes a game: no answer can
// use more.
struct TokenLimits {
  // A token at a number prompt, and one name of a name line. Longer ones are refused
  // (InputTooLarge): an input without blanks (/dev/zero) would otherwise never end.
  std::size_t token_bytes = std::size_t{1} << 20;
  // The roster holds 1004 fighters: names past the 1004th of a line are never used.
  std::size_t names_per_line = 1004;
  // All name lines of a game together; past it the game is refused.
  std::size_t name_bytes = std::size_t{8} << 20;
};

class TokenReader {
 public:
  explicit TokenReader(std::istream& in, TokenLimits limits = {}) : in_(in), limits_(limits) {}

  // The next token that is a decimal integer (optional sign) fitting in 32 bits; anything else
  // is passed over without being kept. 0 at the end of input.
  std::int32_t number();

  // The next token, a line of '/'-separated names: empty at the end of input. Only the first
  // names_per_line names are kept, the last of them still followed by its '/', so it stays an
  // inner name as it was; the rest of the token is read and dropped.
  std::string word();

 private:
  // Passes over blanks; false at the end of input.
  bool skip_blanks();
  [[noreturn]] void refuse(std::string_view what, std::size_t limit) const;

  std::istream& in_;
  TokenLimits limits_;
  std::size_t name_bytes_ = 0;  // of all the words read so far
};

}  // namespace morvane
