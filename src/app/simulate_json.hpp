#pragma once
// simulate's report as JSON, for a program or for simulate --merge, and read back.

#include <optional>
#include <string>
#include <string_view>

#include "app/simulate.hpp"

namespace morvane {

// The report as JSON (UTF-8: lines that are not are shown with U+FFFD for each bad byte), one
// line. parse_report() reads it back.
std::string format_json(const SimulationReport& report);

// Text as valid UTF-8: every byte that does not start a well-formed sequence becomes U+FFFD.
std::string valid_utf8(std::string_view text);

// A report read back from format_json's output, or the reason it cannot be (in Chinese).
struct ParsedReport {
  std::optional<SimulationReport> report;
  std::string error;
};
ParsedReport parse_report(std::string_view json);

}  // namespace morvane
