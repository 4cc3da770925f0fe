#pragma once
// The command line: how the game is shown, and which seed it plays.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// A seed as typed: a decimal integer with an optional sign, of any length, taken modulo 2^32
// (so -1 is 4294967295 and 010 is ten). Nothing for anything else.
std::optional<std::uint32_t> parse_seed(std::string_view text);

// A pace as typed: a finite decimal (digits with an optional fraction, no sign, no exponent)
// within [min, max]. Nothing for anything else.
std::optional<double> parse_speed(std::string_view text, double min, double max);

// A count as typed: plain decimal digits within [min, max]. Nothing for anything else.
std::optional<std::int64_t> parse_count(std::string_view text, std::int64_t min, std::int64_t max);

}  // namespace morvane
