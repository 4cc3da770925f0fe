#include "terminal/keys.hpp"

namespace morvane::keys {
namespace {

constexpr unsigned char kEscape = 0x1B;

unsigned byte_at(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

// An escape sequence's parameter and intermediate bytes run up to a final byte.
std::size_t sequence_length(std::string_view bytes, std::size_t from) {
  for (std::size_t i = from; i < bytes.size(); ++i) {
    const unsigned b = byte_at(bytes, i);
    if (b >= 0x40 && b <= 0x7E) return i + 1;
    if (b < 0x20 || b > 0x3F) return i;  // not part of a sequence: it ends before
  }
  return 0;
}

bool within(unsigned b, unsigned low, unsigned high) {
  return b >= low && b <= high;
}

// A GBK character from its lead byte: two bytes, or GB18030's four (lead, digit, lead, digit).
std::size_t gbk_length(std::string_view bytes) {
  if (bytes.size() < 2) return 0;
  const unsigned trail = byte_at(bytes, 1);
  if (within(trail, 0x40, 0xFE) && trail != 0x7F) return 2;
  if (!within(trail, 0x30, 0x39)) return 1;
  if (bytes.size() < 3) return 0;
  if (!within(byte_at(bytes, 2), 0x81, 0xFE)) return 1;
  if (bytes.size() < 4) return 0;
  return within(byte_at(bytes, 3), 0x30, 0x39) ? 4 : 1;
}

}  // namespace

std::size_t key_length(std::string_view bytes, bool gbk) {
  if (bytes.empty()) return 0;
  const unsigned lead = byte_at(bytes, 0);
  if (lead == kEscape) {
    if (bytes.size() == 1) return 0;
    const unsigned next = byte_at(bytes, 1);
    if (next == '[') {
      // The Linux console's F1 ... F5 are "ESC [ [ A" ... "ESC [ [ E".
      if (bytes.size() >= 3 && bytes[2] == '[') return bytes.size() >= 4 ? 4 : 0;
      return sequence_length(bytes, 2);
    }
    if (next == 'O') return sequence_length(bytes, 2);
    if (next == kEscape) return 1;  // Escape pressed twice: the first one alone
    const std::size_t alt = key_length(bytes.substr(1), gbk);
    return alt == 0 ? 0 : 1 + alt;
  }
  if (gbk) return within(lead, 0x81, 0xFE) ? gbk_length(bytes) : 1;
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if (i == bytes.size()) return 0;
    if ((byte_at(bytes, i) & 0xC0u) != 0x80) return i;
  }
  return length;
}

Control control_of(std::string_view key) {
  if (key.size() != 1) return Control::None;
  switch (key[0]) {
    case ' ':
    case '\r':
    case '\n':
      return Control::FastForward;
    case '+':
      return Control::Faster;
    case '-':
      return Control::Slower;
    case 'p':
    case 'P':
      return Control::Pause;
    case '?':
      return Control::Help;
    case 'q':
    case 'Q':
      return Control::Quit;
    default:
      return Control::None;
  }
}

}  // namespace morvane::keys
