#include "support/scripted_random.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace morvane::testing {
namespace {

// Where a draw came from, for messages: "mechanics/attack.cpp:123".
std::string short_location(const Where& where) {
  std::string_view file = where.file;
  if (const auto cut = file.rfind("/src/"); cut != std::string_view::npos)
    file.remove_prefix(cut + 5);
  return std::string(file) + ":" + std::to_string(where.line);
}

}  // namespace

ScriptedRandom::~ScriptedRandom() {
  if (remaining() != 0) {
    ADD_FAILURE() << remaining() << " scripted draw(s) were never taken (first unused: draw #"
                  << next_ + 1 << " = " << draws_[next_] << ")";
  }
}

void ScriptedRandom::script(const std::vector<std::int32_t>& draws) {
  draws_.insert(draws_.end(), draws.begin(), draws.end());
}

std::int32_t ScriptedRandom::draw(const Where& where) {
  if (next_ >= draws_.size()) {
    ADD_FAILURE() << "unexpected draw #" << next_ + 1 << " at " << short_location(where) << " ("
                  << where.function << ")";
    ++next_;
    draws_.push_back(0);
    return 0;
  }
  return draws_[next_++];
}

void ScriptedRandom::expect_all_taken(const Where& where) {
  EXPECT_EQ(remaining(), 0u) << "scripted draws left over, checked at " << short_location(where);
  draws_.clear();
  next_ = 0;
}

}  // namespace morvane::testing
