#pragma once
// A run of many games stopped by a signal, as a person stops it with Ctrl-C.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace morvane::testing {

// Whether `pid` catches SIGINT and SIGTERM: it has set up its run.
inline bool catches_stops(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  unsigned long long caught = 0;
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("SigCgt:")) caught = std::stoull(line.substr(7), nullptr, 16);
  }
  const unsigned long long wanted = (1ULL << (SIGINT - 1)) | (1ULL << (SIGTERM - 1));
  return (caught & wanted) == wanted;
}

// The processor time `pid` has had so far, in clock ticks.
inline long ticks_used(pid_t pid) {
  const std::string stat = contents("/proc/" + std::to_string(pid) + "/stat");
  if (stat.find(')') == std::string::npos) return 0;
  std::istringstream fields(stat.substr(stat.rfind(')') + 1));
  std::string skipped;
  for (int field = 3; field < 14; ++field)
    fields >> skipped;
  long user = 0, system = 0;
  fields >> user >> system;
  return user + system;
}

// Starts `morvane ARGS`, sends `sig` once it has played a while (however loaded the
// machine), and returns what it printed and its exit status; `took`, when given, is set to the
// time from the signal to the end.
inline Outcome interrupted(std::vector<std::string> args, int sig,
                           std::chrono::steady_clock::duration* took = nullptr) {
  int out[2];
  EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
  const pid_t pid = start_morvane(args, -1, out[1], -1);
  close(out[1]);
  // The signal comes once the run has taken it over and then played for a fifth of a second of
  // processor time: however loaded the machine, and however slow a sanitizer makes the start.
  int wait = 0;
  for (; wait < 6000 && !catches_stops(pid); ++wait)
    usleep(10'000);
  const long started = ticks_used(pid);
  for (; wait < 6000 && ticks_used(pid) < started + 20; ++wait)
    usleep(10'000);
  const auto sent = std::chrono::steady_clock::now();
  kill(pid, sig);
  Outcome r;
  char buf[4096];
  // A run that does not stop is ended, so that the test ends too (and fails).
  pollfd output{out[0], POLLIN, 0};
  while (poll(&output, 1, 10'000) > 0) {
    const ssize_t got = read(out[0], buf, sizeof buf);
    if (got <= 0) break;
    r.out.append(buf, static_cast<std::size_t>(got));
  }
  kill(pid, SIGKILL);
  close(out[0]);
  int raw = 0;
  waitpid(pid, &raw, 0);
  if (took != nullptr) *took = std::chrono::steady_clock::now() - sent;
  r.status = exit_status(raw);
  return r;
}

}  // namespace morvane::testing
