#pragma once
// What the command's parts share: how a bad command line is refused.

#include <cstring>
#include <iostream>
#include <string>

namespace morvane::cli {

// A bad option or argument: a message and this status.
constexpr int kUsageError = 2;

inline int usage_error(const std::string& message) {
  std::cerr << message << "\nRun with --help for more information.\n";
  return kUsageError;
}

// Output that could not be written (a full disk, a closed stdout): the system's reason on
// stderr, and this status.
constexpr int kWriteFailure = 1;

inline int write_failure(int errnum) {
  std::cerr << "morvane: 写入失败：" << std::strerror(errnum) << '\n';
  return kWriteFailure;
}

}  // namespace morvane::cli
