#pragma once
// The player's input as whitespace-delimited tokens.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

namespace morvane {

class TokenReader {
 public:
  explicit TokenReader(std::istream& in) : in_(in) {}

  // The next token, or nothing at the end of input. Tokens are separated by ASCII whitespace
  // (space, tab, newline, vertical tab, form feed, carriage return).
  std::optional<std::string> next();

  // The next token that is a decimal integer (optional sign) fitting in 32 bits; anything else
  // is passed over. 0 at the end of input.
  std::int32_t number();

  // The next token; empty at the end of input.
  std::string word();

 private:
  std::istream& in_;
};

// A decimal integer with an optional sign that fits in 32 bits, or nothing.
std::optional<std::int32_t> parse_int32(const std::string& token);

}  // namespace morvane
