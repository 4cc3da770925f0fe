#include "model/random.hpp"

#ifdef MORVANE_LISTED_DRAWS

#include <string>
#include <string_view>

namespace morvane {
namespace {

// "mechanics/attack.cpp:123 (attack)": the file from the source folder on.
std::string location(const Where& where) {
  std::string_view file = where.file;
  if (const auto cut = file.rfind("src/"); cut != std::string_view::npos)
    file.remove_prefix(cut + 4);
  return std::string(file) + ":" + std::to_string(where.line) + " (" + where.function + ")";
}

}  // namespace

NoDrawLeft::NoDrawLeft(const Where& where, std::size_t draw)
    : std::logic_error("draw #" + std::to_string(draw) + " at " + location(where) +
                       ": no listed draw left") {}

std::int32_t Random::listed(const Where& where) {
  if (taken_ >= list_->size()) throw NoDrawLeft(where, taken_ + 1);
  return (*list_)[taken_++];
}

}  // namespace morvane

#endif
