#include "replay/lz.hpp"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "replay/bytes.hpp"

namespace morvane::replay {
namespace {

constexpr std::size_t kMinCopy = 3;
constexpr std::size_t kNibble = 15;  // a count of 15 or more goes on in a varint
constexpr int kMaxHashBits = 14;
// How many earlier places with the same three bytes are tried: enough for lines of names,
// and it keeps the compressor linear in the worst case.
constexpr int kMaxTries = 64;
constexpr std::size_t kNone = SIZE_MAX;

std::size_t varint_size(std::uint64_t value) {
  std::size_t size = 1;
  for (; value >= 0x80u; value >>= 7)
    ++size;
  return size;
}

// One input's compression: a hash chain over every earlier place, and the stream so far.
class Compressor {
 public:
  explicit Compressor(std::string_view in) : in_(in), n_(in.size()), previous_(n_, kNone) {
    // A table no larger than the input: most codes are a few dozen bytes.
    while (hash_bits_ < kMaxHashBits && (std::size_t{1} << hash_bits_) < n_)
      ++hash_bits_;
    head_.assign(std::size_t{1} << hash_bits_, kNone);
  }

  std::string run() {
    std::size_t at = 0;
    while (at < n_) {
      const Copy copy = best_copy(at);
      remember(at);
      // A literal first pays when the copy one byte on saves more than that byte: in a line of
      // counted names, ".../a322/a323" packs best as the literal 2 and then "/a32" from near by.
      if (copy.saved == 0 || best_copy(at + 1).saved >= copy.saved + 1) {
        ++at;
        continue;
      }
      step(at, copy.length, copy.back);
      for (const std::size_t end = at + copy.length; ++at < end;)
        remember(at);
      literals_ = at;
    }
    if (literals_ < n_) step(n_, 0, 0);
    return std::move(out_);
  }

 private:
  // The copy that saves the most bytes at a place, counting its step's first byte and its
  // distance as its cost; `saved` is 0 when none does.
  struct Copy {
    std::size_t length = 0, back = 0, saved = 0;
  };

  std::uint32_t hash(std::size_t at) const {
    std::uint32_t three = 0;
    for (std::size_t k = 0; k < 3; ++k)
      three = three << 8 | static_cast<std::uint8_t>(in_[at + k]);
    return (three * 2654435761u) >> (32 - hash_bits_);
  }

  void remember(std::size_t at) {
    if (at + kMinCopy > n_) return;
    const std::uint32_t h = hash(at);
    previous_[at] = head_[h];
    head_[h] = at;
  }

  // Writes the literals from `literals_` up to `end`, then a copy of `copy` bytes from `back`
  // + 1 bytes before (none when `copy` is 0).
  void step(std::size_t end, std::size_t copy, std::size_t back) {
    const std::size_t count = end - literals_;
    const std::size_t extra = copy > 0 ? copy - kMinCopy : 0;
    out_ += static_cast<char>(std::min(count, kNibble) << 4 | std::min(extra, kNibble));
    if (count >= kNibble) put_varint(out_, count - kNibble);
    out_.append(in_.substr(literals_, count));
    if (copy == 0) return;
    put_varint(out_, back);
    if (extra >= kNibble) put_varint(out_, extra - kNibble);
  }

  Copy best_copy(std::size_t at) const {
    Copy best;
    if (at + kMinCopy > n_) return best;
    std::size_t from = head_[hash(at)];
    for (int tries = 0; from != kNone && tries < kMaxTries; ++tries, from = previous_[from]) {
      std::size_t length = 0;
      while (at + length < n_ && in_[from + length] == in_[at + length])
        ++length;
      const std::size_t cost = varint_size(at - from - 1) + 1;
      if (length >= kMinCopy && length > cost && length - cost > best.saved)
        best = {length, at - from - 1, length - cost};
    }
    return best;
  }

  std::string_view in_;
  std::size_t n_;
  int hash_bits_ = 4;
  std::vector<std::size_t> head_;
  std::vector<std::size_t> previous_;  // the last earlier place with the same hash
  std::string out_;
  std::size_t literals_ = 0;  // where the literals not yet written start
};

}  // namespace

std::string lz_compress(std::string_view in) {
  return Compressor(in).run();
}

std::optional<std::string> lz_decompress(std::string_view stream, std::size_t size) {
  std::string out;
  out.reserve(size);
  ByteReader in(stream);
  while (out.size() < size) {
    const std::optional<std::string_view> token = in.bytes(1);
    if (!token) return std::nullopt;
    const auto bits = static_cast<std::uint8_t>(token->front());
    std::uint64_t count = bits >> 4;
    if (count == kNibble) {
      const std::optional<std::uint64_t> more = in.varint(size);
      if (!more) return std::nullopt;
      count += *more;
    }
    if (count > size - out.size()) return std::nullopt;
    const std::optional<std::string_view> literals = in.bytes(count);
    if (!literals) return std::nullopt;
    out.append(*literals);
    if (out.size() == size) {
      if ((bits & kNibble) != 0) return std::nullopt;  // a copy with no room left
      break;
    }

    if (out.empty()) return std::nullopt;
    const std::optional<std::uint64_t> back = in.varint(out.size() - 1);
    if (!back) return std::nullopt;
    std::uint64_t length = (bits & kNibble) + kMinCopy;
    if ((bits & kNibble) == kNibble) {
      const std::optional<std::uint64_t> more = in.varint(size);
      if (!more) return std::nullopt;
      length += *more;
    }
    if (length > size - out.size()) return std::nullopt;
    // Byte by byte: the copy may read what it has just written.
    const std::size_t from = out.size() - static_cast<std::size_t>(*back) - 1;
    for (std::size_t k = 0; k < length; ++k)
      out += out[from + k];
  }
  if (!in.done()) return std::nullopt;
  return out;
}

}  // namespace morvane::replay
