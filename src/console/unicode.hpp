#pragma once
// UTF-8 and UTF-16 by hand, for consoles that speak UTF-16 (the Windows console) while the game
// speaks bytes. Nothing here depends on the platform, so it is tested everywhere.

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane::unicode {

constexpr char32_t kReplacement = 0xFFFD;

// A code point read from UTF-8, with the number of bytes it took; 0 bytes when the text does
// not start with a well-formed sequence (a stray or missing continuation byte, an overlong form,
// a surrogate, a value past U+10FFFF, or a sequence cut short).
struct Decoded {
  char32_t cp = 0;
  std::size_t length = 0;
};

inline Decoded decode_utf8(std::string_view text) {
  if (text.empty()) return {};
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1Fu, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0Fu, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07u, min = 0x10000;
  } else {
    return {};
  }
  if (text.size() < length) return {};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0u) != 0x80) return {};
    cp = (cp << 6) | (byte(i) & 0x3Fu);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {};
  return {cp, length};
}

inline void append_utf8(std::string& out, char32_t cp) {
  const auto put = [&](char32_t bits) { out += static_cast<char>(bits); };
  if (cp < 0x80) {
    put(cp);
  } else if (cp < 0x800) {
    put(0xC0 | (cp >> 6));
    put(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    put(0xE0 | (cp >> 12));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  } else {
    put(0xF0 | (cp >> 18));
    put(0x80 | ((cp >> 12) & 0x3F));
    put(0x80 | ((cp >> 6) & 0x3F));
    put(0x80 | (cp & 0x3F));
  }
}

// UTF-16 to UTF-8 for text that arrives in pieces (one console read after another): a surrogate
// pair cut between two pieces is joined; a surrogate without its partner becomes U+FFFD.
class Utf16Decoder {
 public:
  std::string decode(std::u16string_view units) {
    std::string out;
    for (const char16_t unit : units) {
      if (pending_ != 0) {
        if (unit >= 0xDC00 && unit <= 0xDFFF) {
          append_utf8(out, 0x10000 + ((char32_t{pending_} - 0xD800) << 10) + (unit - 0xDC00u));
          pending_ = 0;
          continue;
        }
        append_utf8(out, kReplacement);
        pending_ = 0;
      }
      if (unit >= 0xD800 && unit <= 0xDBFF) {
        pending_ = unit;
      } else {
        append_utf8(out, unit >= 0xDC00 && unit <= 0xDFFF ? kReplacement : char32_t{unit});
      }
    }
    return out;
  }

 private:
  char16_t pending_ = 0;  // a high surrogate waiting for the next piece
};

}  // namespace morvane::unicode
