#include "console/visible_text.hpp"

#include "console/unicode.hpp"

namespace morvane {
namespace {

// `cat -v`'s form of a control character or byte c < 0x100.
void append_shown(std::string& out, unsigned c) {
  if (c >= 0x80) {
    out += "M-";
    c -= 0x80;
  }
  if (c < 0x20) {
    out += '^';
    out += static_cast<char>(c + 0x40);
  } else if (c == 0x7F) {
    out += "^?";
  } else {
    out += static_cast<char>(c);
  }
}

bool is_control(char32_t c) {
  return (c < 0x20 && c != '\t' && c != '\n') || (c >= 0x7F && c < 0xA0);
}

// Whether every byte is printable ASCII, a tab or a line end: most pieces of the narration that
// are not Chinese, shown as they are.
bool plain_ascii(std::string_view text) {
  for (const char byte : text) {
    const auto c = static_cast<unsigned char>(byte);
    if (c >= 0x7F || (c < 0x20 && c != '\t' && c != '\n')) return false;
  }
  return true;
}

}  // namespace

std::string visible_utf8(std::string_view text) {
  if (plain_ascii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const unicode::Decoded d = unicode::decode_utf8(text);
    if (d.length == 0) {
      append_shown(out, static_cast<unsigned char>(text[0]));
      text.remove_prefix(1);
    } else {
      if (is_control(d.cp)) {
        append_shown(out, d.cp);
      } else {
        out += text.substr(0, d.length);
      }
      text.remove_prefix(d.length);
    }
  }
  return out;
}

std::string visible_gbk(std::string_view text) {
  if (plain_ascii(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  for (std::size_t k = 0; k < text.size(); ++k) {
    const auto c = static_cast<unsigned char>(text[k]);
    const auto next = k + 1 < text.size() ? static_cast<unsigned char>(text[k + 1]) : 0u;
    if (c >= 0x81 && c <= 0xFE && next >= 0x40 && next <= 0xFE && next != 0x7F) {
      out += text.substr(k, 2);  // a lead byte and its trail: one character
      ++k;
    } else if (c == 0x80 || (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n') {
      out += static_cast<char>(c);  // 0x80 alone is the euro sign of code page 936
    } else {
      append_shown(out, c);
    }
  }
  return out;
}

std::string visible_on_terminal(std::string_view text, platform::Transcoder* to_gbk) {
  std::string shown = visible_utf8(text);
  return to_gbk != nullptr ? visible_gbk(to_gbk->convert(shown)) : shown;
}

}  // namespace morvane
