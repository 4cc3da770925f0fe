#include "console/token_reader.hpp"

#include <charconv>

namespace morvane {
namespace {

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::optional<std::string> TokenReader::next() {
  std::streambuf* buf = in_.rdbuf();
  if (buf == nullptr) return std::nullopt;
  using Traits = std::streambuf::traits_type;
  int c = buf->sgetc();
  while (c != Traits::eof() && is_space(c))
    c = buf->snextc();
  if (c == Traits::eof()) return std::nullopt;
  std::string token;
  while (c != Traits::eof() && !is_space(c)) {
    token += Traits::to_char_type(c);
    c = buf->snextc();
  }
  return token;
}

std::int32_t TokenReader::number() {
  while (std::optional<std::string> token = next()) {
    if (std::optional<std::int32_t> value = parse_int32(*token)) return *value;
  }
  return 0;
}

std::string TokenReader::word() {
  return next().value_or(std::string{});
}

std::optional<std::int32_t> parse_int32(const std::string& token) {
  const char* first = token.data();
  const char* last = first + token.size();
  // from_chars takes a '-' but not a '+'.
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  if (first == last || (plus && *first == '-')) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc{} || end != last) return std::nullopt;
  return value;
}

}  // namespace morvane
