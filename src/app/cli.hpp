#pragma once
// What the command's parts share: how a bad command line is refused.

#include <iostream>
#include <string>

namespace morvane::cli {

// A bad option or argument: a message and this status.
constexpr int kUsageError = 2;

inline int usage_error(const std::string& message) {
  std::cerr << message << "\nRun with --help for more information.\n";
  return kUsageError;
}

}  // namespace morvane::cli
