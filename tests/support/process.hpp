#pragma once
// Runs the game's executable as a shell or a parent process runs it, and keeps what it writes.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace morvane::testing {

const std::string kMorvane = MORVANE_BIN;

struct Outcome {
  std::string out;
  int status = -1;  // the exit status, or 128 + the signal that ended it
};

inline int exit_status(int raw) {
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

// Runs a command line through the POSIX shell and keeps what it writes to standard output.
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

// A file of this process's own: ctest may run tests side by side.
inline std::string temp_path(const std::string& name) {
  return ::testing::TempDir() + "morvane_" + name + "_" + std::to_string(getpid());
}

inline std::string contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Runs `morvane ARGS < input REDIRECT`.
inline Outcome run_morvane(const std::string& args, const std::string& input,
                           const std::string& redirect = "2>/dev/null") {
  const std::string in_path = temp_path("in");
  std::ofstream(in_path, std::ios::binary) << input;
  Outcome r = shell(kMorvane + " " + args + " < " + in_path + " " + redirect);
  std::remove(in_path.c_str());
  return r;
}

// In a child just forked: becomes `morvane ARGS`.
[[noreturn]] inline void exec_morvane(const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(kMorvane.c_str())};
  for (const std::string& arg : args)
    argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(kMorvane.c_str(), argv.data());
  _exit(127);
}

// Starts `morvane ARGS` with its standard input, output and error on `in`, `out` and `err` (-1:
// the test's own). Descriptors of the test's own should be opened close-on-exec.
inline pid_t start_morvane(const std::vector<std::string>& args, int in, int out, int err) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  for (const auto& [from, to] : {std::pair{in, 0}, std::pair{out, 1}, std::pair{err, 2}}) {
    if (from >= 0 && dup2(from, to) < 0) _exit(126);
  }
  exec_morvane(args);
}

// The peak memory a run may reach, whatever its input, in KB. A sanitizer's own memory (shadow,
// quarantine) is not the program's: the bound is checked in the other builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr long kMemoryBoundKb = 1L << 40;
#else
inline constexpr long kMemoryBoundKb = 64 * 1024;
#endif

// Waits for the child `pid` to end: its exit status, and its peak memory in KB as the kernel
// counted it.
inline std::pair<int, long> wait_with_peak(pid_t pid) {
  int raw = 0;
  rusage usage{};
  while (wait4(pid, &raw, 0, &usage) < 0 && errno == EINTR) {
  }
  return {exit_status(raw), usage.ru_maxrss};
}

}  // namespace morvane::testing
