#pragma once
// A random source that hands out exactly the draws a test lists: a draw it did not expect
// throws NoDrawLeft, which names the rule that asked for it, and one left unused fails the test.

#include <cstdint>
#include <vector>

#include "model/random.hpp"

namespace morvane::testing {

class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() : Random(0) { follow(&draws_); }
  ScriptedRandom(const ScriptedRandom&) = delete;
  ScriptedRandom& operator=(const ScriptedRandom&) = delete;
  ~ScriptedRandom();

  void script(const std::vector<std::int32_t>& draws);

  std::size_t remaining() const { return draws_.size() - taken(); }
  // Checks that every scripted draw was taken, and forgets them.
  void expect_all_taken(const Where& where = Where::here());

 private:
  std::vector<std::int32_t> draws_;
};

}  // namespace morvane::testing
