#pragma once
// What the command's parts share: how a bad command line is refused, and how output that could
// not be written ends the program.

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <string_view>

#include "console/platform.hpp"

namespace morvane::cli {

// A bad option or argument, bad or too large input, a refused replay code: a message and this
// status.
constexpr int kUsageError = 2;
// The output could not be written.
constexpr int kWriteFailure = 1;

inline int usage_error(const std::string& message) {
  std::cerr << message << "\nRun with --help for more information.\n";
  return kUsageError;
}

// Input or a replay code refused: "morvane: <why>" and the status.
inline int refused(std::string_view why) {
  std::cerr << "morvane: " << why << '\n';
  return kUsageError;
}

// Output that could not be written (a full disk, a closed stdout): "morvane: 写入失败：" and the
// reason on stderr, and the status to exit with. A closed pipe is not an error worth a
// message: the program ends as SIGPIPE would have ended it (141).
inline int write_failure(std::string_view reason) {
  std::cerr << "morvane: 写入失败：" << reason << '\n';
  return kWriteFailure;
}
inline int write_failure(int errnum) {
  if (errnum == EPIPE) platform::end_by_closed_pipe();
  return write_failure(std::strerror(errnum));
}

// Writes text to standard output; the exit status: 0, or kWriteFailure after saying why.
inline int print(std::string_view text) {
  const int error = platform::write_stdout(text.data(), text.size());
  return error == 0 ? 0 : write_failure(error);
}

}  // namespace morvane::cli
