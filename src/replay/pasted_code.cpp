#include "replay/pasted_code.hpp"

#include "console/unicode.hpp"

namespace morvane::replay {
namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

// A character of a code after its "MV": the version's digits, '-', and base64url.
bool is_code_char(char c) {
  return is_digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_';
}

// The length of a blank at the start of `text`: a blank character, or one percent-encoded in an
// address ("%20" for a space, "%0A" for a line break, ...). 0 when there is none.
std::size_t blank_length(std::string_view text) {
  if (text.empty()) return 0;
  if (is_blank(text[0])) return 1;
  if (text.size() < 3 || text[0] != '%') return 0;
  const std::string_view hex = text.substr(1, 2);
  for (const std::string_view blank : {"20", "09", "0A", "0a", "0D", "0d"})
    if (hex == blank) return 3;
  return 0;
}

// Whether a code starts at `at`: "MV", at least one digit, '-'.
bool code_starts(std::string_view text, std::size_t at) {
  if (text.substr(at, 2) != "MV") return false;
  std::size_t k = at + 2;
  while (k < text.size() && is_digit(text[k]))
    ++k;
  return k > at + 2 && k < text.size() && text[k] == '-';
}

std::string from_utf16(std::string_view bytes, bool little_endian) {
  std::u16string units;
  units.reserve(bytes.size() / 2);
  for (std::size_t k = 0; k + 1 < bytes.size(); k += 2) {
    const auto first = static_cast<unsigned char>(bytes[k]);
    const auto second = static_cast<unsigned char>(bytes[k + 1]);
    units += static_cast<char16_t>(little_endian ? first | (second << 8) : (first << 8) | second);
  }
  return unicode::Utf16Decoder().decode(units);
}

}  // namespace

std::string as_utf8(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return from_utf16(bytes.substr(2), true);
  if (bytes.starts_with("\xFE\xFF")) return from_utf16(bytes.substr(2), false);
  // Without a mark: ASCII in UTF-16 has a NUL beside every character, after it in little-endian
  // order. Text in UTF-8 never starts with a NUL beside a character.
  if (bytes.size() >= 2 && (bytes[0] == '\0') != (bytes[1] == '\0'))
    return from_utf16(bytes, bytes[1] == '\0');
  return std::string(bytes);
}

std::optional<std::string> find_code(std::string_view text, std::size_t most) {
  std::size_t at = 0;
  for (; (at = text.find("MV", at)) != std::string_view::npos; ++at) {
    if (code_starts(text, at)) break;
  }
  if (at == std::string_view::npos) return std::nullopt;
  std::string code = "MV";
  for (std::string_view rest = text.substr(at + 2); !rest.empty() && code.size() <= most;) {
    if (const std::size_t blank = blank_length(rest); blank > 0) {
      rest.remove_prefix(blank);
    } else if (is_code_char(rest[0])) {
      code += rest[0];
      rest.remove_prefix(1);
    } else {
      break;
    }
  }
  return code;
}

}  // namespace morvane::replay
