#include "support/scripted_random.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace morvane::testing {
namespace {

// Where a check was made, for messages: "mechanics/attack_test.cpp:123".
std::string short_location(const Where& where) {
  std::string_view file = where.file;
  if (const auto cut = file.rfind("/tests/"); cut != std::string_view::npos)
    file.remove_prefix(cut + 7);
  return std::string(file) + ":" + std::to_string(where.line);
}

}  // namespace

ScriptedRandom::~ScriptedRandom() {
  if (remaining() != 0) {
    ADD_FAILURE() << remaining() << " scripted draw(s) were never taken (first unused: draw #"
                  << taken() + 1 << " = " << draws_[taken()] << ")";
  }
}

void ScriptedRandom::script(const std::vector<std::int32_t>& draws) {
  draws_.insert(draws_.end(), draws.begin(), draws.end());
}

void ScriptedRandom::expect_all_taken(const Where& where) {
  EXPECT_EQ(remaining(), 0u) << "scripted draws left over, checked at " << short_location(where);
  draws_.clear();
  follow(&draws_);
}

}  // namespace morvane::testing
