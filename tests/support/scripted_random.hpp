#pragma once
// A random source that hands out exactly the draws a test lists, and fails the test at the line
// of any draw it did not expect or leaves one unused.

#include <cstdint>
#include <vector>

#include "model/random.hpp"

namespace morvane::testing {

class ScriptedRandom final : public Random {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(const ScriptedRandom&) = delete;
  ScriptedRandom& operator=(const ScriptedRandom&) = delete;
  ~ScriptedRandom() override;

  void script(const std::vector<std::int32_t>& draws);
  std::int32_t draw(const Where& where) override;

  std::size_t remaining() const { return draws_.size() - next_; }
  // Checks that every scripted draw was taken, and forgets them.
  void expect_all_taken(const Where& where = Where::here());

 private:
  std::vector<std::int32_t> draws_;
  std::size_t next_ = 0;
};

}  // namespace morvane::testing
