#include "replay/bytes.hpp"

#include <array>

namespace morvane::replay {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

int sextet(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '-') return 62;
  if (c == '_') return 63;
  return -1;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k)
      c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[i] = c;
  }
  return table;
}();

}  // namespace

void put_varint(std::string& out, std::uint64_t value) {
  while (value >= 0x80u) {
    out += static_cast<char>((value & 0x7Fu) | 0x80u);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

std::optional<std::uint64_t> ByteReader::varint(std::uint64_t max) {
  std::uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (rest_.empty()) return std::nullopt;
    const auto byte = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    const std::uint64_t bits = byte & 0x7Fu;
    if (shift == 63 && bits > 1) return std::nullopt;  // past 64 bits
    value |= bits << shift;
    if ((byte & 0x80u) == 0) {
      if (bits == 0 && shift > 0) return std::nullopt;  // a needless zero byte at the end
      if (value > max) return std::nullopt;
      return value;
    }
  }
  return std::nullopt;
}

std::optional<std::string_view> ByteReader::bytes(std::uint64_t count) {
  if (count > rest_.size()) return std::nullopt;
  const std::string_view taken = rest_.substr(0, static_cast<std::size_t>(count));
  rest_.remove_prefix(taken.size());
  return taken;
}

std::uint32_t crc32(std::string_view bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (char byte : bytes)
    c = kCrcTable[(c ^ static_cast<std::uint8_t>(byte)) & 0xFFu] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string base64url_encode(std::string_view bytes) {
  std::string text;
  text.reserve((bytes.size() * 4 + 2) / 3);
  std::uint32_t acc = 0;
  int bits = 0;
  for (char byte : bytes) {
    acc = (acc << 8) | static_cast<std::uint8_t>(byte);
    bits += 8;
    while (bits >= 6) {
      bits -= 6;
      text += kAlphabet[(acc >> bits) & 0x3Fu];
    }
  }
  if (bits > 0) text += kAlphabet[(acc << (6 - bits)) & 0x3Fu];
  return text;
}

std::optional<std::string> base64url_decode(std::string_view text) {
  if (text.size() % 4 == 1) return std::nullopt;  // no byte count gives that many characters
  std::string bytes;
  bytes.reserve(text.size() * 3 / 4);
  std::uint32_t acc = 0;
  int bits = 0;
  for (char c : text) {
    const int value = sextet(c);
    if (value < 0) return std::nullopt;
    acc = (acc << 6) | static_cast<std::uint32_t>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      bytes += static_cast<char>((acc >> bits) & 0xFFu);
    }
  }
  if ((acc & ((1u << bits) - 1u)) != 0) return std::nullopt;
  return bytes;
}

}  // namespace morvane::replay
