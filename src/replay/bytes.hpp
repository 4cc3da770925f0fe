#pragma once
// The byte-level pieces of a replay code: varints, CRC-32 and base64url. Kept apart from the
// code's layout so the fuzzer and the tests can build payloads of their own.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::replay {

// Appends `value` as a little-endian base-128 varint: 7 bits a byte, the high bit set on every
// byte but the last.
void put_varint(std::string& out, std::uint64_t value);

// Reads bytes off the front of a payload; every read fails cleanly at the end or on a bad
// encoding instead of running past it.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : rest_(bytes) {}

  // A varint of at most `max`; nothing when it is cut off, longer than it needs to be (so each
  // value has one spelling) or larger than `max`.
  std::optional<std::uint64_t> varint(std::uint64_t max = UINT64_MAX);
  // The next `count` bytes, or nothing when fewer are left.
  std::optional<std::string_view> bytes(std::uint64_t count);

  bool done() const { return rest_.empty(); }
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// The CRC-32 of zip and PNG (reflected polynomial 0xEDB88320): any change of up to 32 bits in a
// row is always caught, which covers every changed character of a code.
std::uint32_t crc32(std::string_view bytes);

// RFC 4648 base64url (A-Z a-z 0-9 - _) without padding.
std::string base64url_encode(std::string_view bytes);
// Nothing for a character outside the alphabet, an impossible length, or unused low bits that
// are not zero: one text for each byte string, so no edited text decodes to the same bytes.
std::optional<std::string> base64url_decode(std::string_view text);

}  // namespace morvane::replay
