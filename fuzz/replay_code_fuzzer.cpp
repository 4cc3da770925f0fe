// Replay codes from arbitrary bytes, taken two ways: as text a player might paste, and as a
// payload behind a right check (random text almost never passes the check, which would leave
// everything behind it unfuzzed). A code that decodes must encode and decode to the same fight,
// and the compressor must give back any bytes it packed.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_target.hpp"
#include "replay/bytes.hpp"
#include "replay/lz.hpp"
#include "replay/replay_code.hpp"

namespace {

using namespace morvane::replay;

void decode_and_again(std::string_view text) {
  const DecodeResult read = decode(text);
  if (read.fight.has_value() != (read.error == DecodeError::None)) std::abort();
  if (read.fight.has_value() == !read.message.empty()) std::abort();
  if (!read.fight) return;
  const std::string code = encode(*read.fight);
  // A code made by hand can pack tighter than ours, so our own code of its fight may be too long.
  if (code.empty()) return;
  if (decode(code).fight != read.fight) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  decode_and_again(bytes);

  std::string payload(bytes);
  const std::uint32_t check = crc32(payload);
  for (int shift = 0; shift < 32; shift += 8)
    payload += static_cast<char>((check >> shift) & 0xFFu);
  decode_and_again("MV1-" + base64url_encode(payload));

  if (lz_decompress(lz_compress(bytes), bytes.size()) != bytes) std::abort();
  return 0;
}
