// simulate --merge from arbitrary bytes: up to four shard files, separated by NUL bytes, read as
// --json results and added up. Whatever reads must merge or be refused with a reason, and a
// merged report must print as text and as JSON that reads back to the same figures.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/simulate.hpp"
#include "app/simulate_json.hpp"
#include "app/simulate_merge.hpp"
#include "app/simulate_report.hpp"
#include "fuzz_target.hpp"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<SimulationReport> shards;
  for (int k = 0; k < 4 && !bytes.empty(); ++k) {
    const std::size_t end = bytes.find('\0');
    const ParsedReport parsed = parse_report(bytes.substr(0, end));
    if (parsed.report.has_value() == !parsed.error.empty()) std::abort();
    if (parsed.report) shards.push_back(*parsed.report);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  if (shards.empty()) return 0;
  const MergedReport merged = merge_reports(shards);
  if (merged.report.has_value() == !merged.error.empty()) std::abort();
  if (!merged.report) return 0;
  const SimulationReport& m = *merged.report;
  if (format_report(m).empty()) std::abort();
  const ParsedReport again = parse_report(format_json(m));
  if (!again.report) std::abort();
  if (again.report->wins != m.wins || again.report->played != m.played ||
      again.report->total_rounds != m.total_rounds || again.report->ranges != m.ranges) {
    std::abort();
  }
  return 0;
}
