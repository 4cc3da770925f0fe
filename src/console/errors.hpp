#pragma once
// The two ways a game ends before its last line: input beyond anything the game can use, and
// output that cannot be written. Both unwind to the front end, which restores the terminal,
// says why and exits with its status.

#include <cstring>
#include <stdexcept>
#include <string>

namespace morvane {

// More input than any answer can ever use (a name of megabytes, an endless token): refused with
// a message for the player; nothing more is read.
class InputTooLarge : public std::runtime_error {
 public:
  explicit InputTooLarge(const std::string& message) : std::runtime_error(message) {}
};

// What the game writes could not be written (a full disk, a closed descriptor). what() is the
// system's reason, e.g. "No space left on device".
class OutputFailed : public std::runtime_error {
 public:
  explicit OutputFailed(int error) : std::runtime_error(std::strerror(error)), error_(error) {}
  int error() const { return error_; }

 private:
  int error_;
};

}  // namespace morvane
