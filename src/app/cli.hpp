#pragma once
// What the command's parts share: how a bad command line is refused, and how output that could
// not be written ends the program.

#include <cerrno>
#include <cstring>
#include <fstream>
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

// A file read whole, if it could be read and holds at most the bytes asked for; no more than
// that is ever held in memory.
struct FileText {
  enum class Status { Read, Unreadable, TooLarge };
  Status status = Status::Read;
  std::string text;
};
inline FileText read_capped(std::istream& in, std::size_t most) {
  std::string text(most + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return {FileText::Status::Unreadable, {}};
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (text.size() > most) return {FileText::Status::TooLarge, {}};
  return {FileText::Status::Read, std::move(text)};
}
inline FileText read_capped(const std::string& path, std::size_t most) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return {FileText::Status::Unreadable, {}};
  return read_capped(file, most);
}

// Writes text to standard output; the exit status: 0, or kWriteFailure after saying why.
inline int print(std::string_view text) {
  const int error = platform::write_stdout(text.data(), text.size());
  return error == 0 ? 0 : write_failure(error);
}

}  // namespace morvane::cli
