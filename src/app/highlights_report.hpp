#pragma once
// highlights' picks as the player reads them, and as JSON.

#include <string>

#include "app/highlights.hpp"

namespace morvane {

std::string format_highlights(const HighlightsReport& report);
// One line of JSON, in UTF-8.
std::string format_highlights_json(const HighlightsReport& report);

}  // namespace morvane
