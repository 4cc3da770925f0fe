#pragma once
// Bounds on a JSON text that someone else made (a simulate shard), checked in one pass that
// builds nothing, before any tree of it is made: a text of a few megabytes could otherwise nest
// a hundred thousand arrays (whose tree is taken apart by recursion, deep enough to overflow
// the stack) or hold millions of tiny values (a gigabyte of tree).

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

struct JsonBounds {
  std::size_t depth = 16;  // arrays and objects inside each other; a report nests 3 deep
  // Values of any kind, containers and keys included; a report has a few for each team and
  // each range of games.
  std::size_t values = 200'000;
};

// Why `text` is not JSON, or is more than the bounds allow (in Chinese); empty when it is
// within them.
std::string json_fault(std::string_view text, const JsonBounds& bounds = {});

}  // namespace morvane
