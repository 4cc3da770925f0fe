#pragma once
// A small LZ77 compressor for replay codes. zlib would squeeze a little more, but the page is
// built with Emscripten, which would have to download and build zlib for it; what makes a code
// long is a line of names that repeat themselves ("兵1/兵2/兵3/..."), and a greedy LZ77 over
// the bytes already catches that.
//
// The stream is a list of steps, each some literal bytes and then a copy of earlier output,
// the way LZ4 lays them out:
//   1 byte        high 4 bits: literal count L, low 4 bits: copy length C - 3
//   varint        L - 15, only when the high bits are 15
//   L bytes       the literals
//   varint        d: the copy starts d + 1 bytes back (it may overlap what it writes, so a run
//                 of one byte is one step)
//   varint        C - 18, only when the low bits are 15
// The last step stops after its literals once the output is complete (its low bits are 0).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::replay {

std::string lz_compress(std::string_view bytes);

// Exactly `size` bytes, or nothing when the stream is damaged: a copy from before the start,
// a token running past `size`, tokens missing or left over. It never makes more than `size`
// bytes, so a caller that bounds `size` is safe from a stream built to expand without end.
std::optional<std::string> lz_decompress(std::string_view stream, std::size_t size);

}  // namespace morvane::replay
