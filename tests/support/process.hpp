#pragma once
// Runs a command line through the POSIX shell and keeps what it writes to standard output.

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace morvane::testing {

struct Outcome {
  std::string out;
  int status = -1;  // the exit status, or 128 + the signal that ended it
};

inline int exit_status(int raw) {
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

inline Outcome shell(const std::string& command) {
  Outcome r;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return r;
  char buf[4096];
  for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
    r.out.append(buf, got);
  r.status = exit_status(pclose(pipe));
  return r;
}

}  // namespace morvane::testing
