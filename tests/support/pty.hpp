#pragma once
// The game on a pseudo-terminal, started the way a shell starts a job: in a process group of its
// own that holds the terminal, with a parent in another group of the same session, so that
// Ctrl-Z stops it as it would stop it in a shell. The test plays the terminal's other side.

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "support/process.hpp"

namespace morvane::testing {

class Pty {
 public:
  Pty() = default;
  Pty(const Pty&) = delete;
  Pty& operator=(const Pty&) = delete;
  ~Pty() {
    if (game_ > 0) kill(game_, SIGKILL);
    if (shell_ > 0) {
      kill(shell_, SIGKILL);
      waitpid(shell_, nullptr, 0);
    }
    if (master_ >= 0) close(master_);
  }

  // Starts `morvane ARGS` with TERM=xterm, no NO_COLOR, COLORFGBG saying the background is
  // dark (so the game asks the terminal nothing), and the history in a folder of the test's own
  // (MORVANE_NO_HISTORY unset); `prepare` runs in the game's process just before it becomes the
  // game (to change its environment or signals).
  void start(const std::vector<std::string>& args, const std::function<void()>& prepare = {}) {
    int report[2];
    if (pipe(report) != 0) return;
    winsize size{};
    size.ws_row = 40;
    size.ws_col = static_cast<unsigned short>(columns);
    shell_ = forkpty(&master_, nullptr, nullptr, &size);
    if (shell_ < 0) return;
    if (shell_ == 0) {
      close(report[0]);
      run_shell(args, prepare, report[1], shell_reads);
    }
    close(report[1]);
    if (read(report[0], &game_, sizeof game_) != static_cast<ssize_t>(sizeof game_)) game_ = -1;
    close(report[0]);
  }

  bool started() const { return game_ > 0; }
  pid_t game() const { return game_; }

  // Reads what the game shows until `text` appears after `from` (or a few seconds pass).
  bool read_until(std::string_view text, std::size_t from = 0, int seconds = 10) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (seen.find(text, from) == std::string::npos) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      if (!read_some(100)) return seen.find(text, from) != std::string::npos;
    }
    return true;
  }
  // Reads whatever comes within `ms`.
  void read_for(int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < deadline) {
      if (!read_some(20)) return;
    }
  }

  void type(std::string_view keys) {
    if (write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size()))
      ADD_FAILURE() << "could not type " << ::testing::PrintToString(std::string(keys));
  }

  // Whether the terminal reads keys one by one (the game's key reading), or with `raw` false
  // lines again, within a few seconds.
  bool becomes_raw(bool raw = true) {
    return soon([&] {
      termios t{};
      return tcgetattr(master_, &t) == 0 && ((t.c_lflag & ICANON) == 0) == raw;
    });
  }
  bool echoes() {
    termios t{};
    return tcgetattr(master_, &t) == 0 && (t.c_lflag & ECHO) != 0;
  }
  // Whether the terminal shows what is typed again (a prompt), or with `on` false stops showing
  // it, within a few seconds.
  bool becomes_echoing(bool on = true) {
    return soon([&] { return echoes() == on; });
  }

  // Whether the game is stopped (Ctrl-Z), within a few seconds.
  bool becomes_stopped() {
    return soon([&] {
      std::ifstream stat("/proc/" + std::to_string(game_) + "/stat");
      std::string pid, name, state;
      stat >> pid >> name >> state;
      return state == "T";
    });
  }

  // Waits for the game to end and drains what it wrote; its exit status (128 + the signal that
  // ended it).
  int wait() {
    int raw = 0;
    while (true) {
      read_some(20);
      const pid_t done = waitpid(shell_, &raw, WNOHANG);
      if (done == shell_) break;
      if (done < 0) return -1;
    }
    shell_ = -1;
    game_ = -1;
    read_for(100);
    return exit_status(raw);
  }

  std::string seen;  // everything the game has shown
  // Set before start(): once the game is over, the shell reads for a moment what is left for it
  // on the terminal, keys one by one as a shell's line editor does, and shows it between these.
  bool shell_reads = false;
  static constexpr std::string_view kShellReadStart = "<shell read>";
  static constexpr std::string_view kShellReadEnd = "</shell read>";
  // What the shell found, once the game is over and wait() has returned.
  std::string shell_found() const {
    const std::size_t at = seen.rfind(kShellReadStart);
    if (at == std::string::npos) return "(the shell read nothing)";
    const std::size_t from = at + kShellReadStart.size();
    return seen.substr(from, seen.find(kShellReadEnd, from) - from);
  }
  int columns = 120;  // the terminal's width

 private:
  // Whether `holds` comes true within ten seconds: a loaded machine may take a while.
  static bool soon(const std::function<bool()>& holds) {
    for (int i = 0; i < 1000; ++i) {
      if (holds()) return true;
      usleep(10000);
    }
    return false;
  }

  // The shell's side, in the child that forkpty made: starts the game as a job in the
  // foreground, tells the test its pid, and ends with its status.
  [[noreturn]] static void run_shell(const std::vector<std::string>& args,
                                     const std::function<void()>& prepare, int report,
                                     bool reads_after) {
    int go[2];
    if (pipe(go) != 0) _exit(126);
    const pid_t game = fork();
    if (game == 0) {
      close(go[1]);
      char ready = 0;
      if (read(go[0], &ready, 1) != 1) _exit(126);
      setenv("TERM", "xterm", 1);
      unsetenv("NO_COLOR");
      setenv("COLORFGBG", "15;0", 1);
      setenv("MORVANE_NO_HISTORY", "1", 1);
      const rlimit no_core{0, 0};
      setrlimit(RLIMIT_CORE, &no_core);
      if (prepare) prepare();
      exec_morvane(args);
    }
    setpgid(game, game);
    // As a shell: the job's group gets the terminal, and the shell does not mind signals meant
    // for it.
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(STDIN_FILENO, game);
    if (write(report, &game, sizeof game) != static_cast<ssize_t>(sizeof game)) _exit(126);
    if (write(go[1], "", 1) != 1) _exit(126);
    int raw = 0;
    while (waitpid(game, &raw, 0) < 0) {
    }
    if (reads_after) read_what_is_left();
    _exit(exit_status(raw));
  }

  // The shell's turn after the game: the terminal back in its own group, and what waits there.
  static void read_what_is_left() {
    tcsetpgrp(STDIN_FILENO, getpgrp());
    termios t{};
    tcgetattr(STDIN_FILENO, &t);
    t.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    tcsetattr(STDIN_FILENO, TCSANOW, &t);
    std::string found;
    pollfd p{STDIN_FILENO, POLLIN, 0};
    char buf[256];
    while (poll(&p, 1, 300) > 0) {
      const ssize_t got = read(STDIN_FILENO, buf, sizeof buf);
      if (got <= 0) break;
      found.append(buf, static_cast<std::size_t>(got));
    }
    const std::string shown = std::string(kShellReadStart) + found + std::string(kShellReadEnd);
    if (write(STDOUT_FILENO, shown.data(), shown.size()) < 0) _exit(126);
  }

  bool read_some(int ms) {
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) return true;
    char buf[4096];
    const ssize_t got = read(master_, buf, sizeof buf);
    if (got <= 0) return false;
    seen.append(buf, static_cast<std::size_t>(got));
    return true;
  }

  pid_t shell_ = -1;
  pid_t game_ = -1;
  int master_ = -1;
};

// What a player reads of the screen: the text without colours, clearing and carriage returns,
// and without the passing notes that the game took away again (written after ESC 7, which keeps
// the cursor's place, and erased by ESC 8, which goes back to it, and ESC [ J).
inline std::string plain_text(std::string_view shown) {
  std::string text;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == '\r') continue;
    if (shown.substr(i).starts_with("\x1b"
                                    "7")) {
      const std::size_t back = shown.find(
          "\x1b"
          "8",
          i);
      if (back != std::string_view::npos) i = back + 1;
      continue;
    }
    if (shown[i] == '\x1b' && i + 1 < shown.size() &&
        std::string_view("DM8").find(shown[i + 1]) != std::string_view::npos) {
      ++i;  // ESC D and ESC M make room below without moving; ESC 8 goes back
      continue;
    }
    if (shown[i] == '\x1b' && i + 1 < shown.size() && shown[i + 1] == '[') {
      std::size_t end = i + 2;
      while (end < shown.size() && !(shown[end] >= 0x40 && shown[end] <= 0x7E))
        ++end;
      i = end;
      continue;
    }
    text += shown[i];
  }
  return text;
}

}  // namespace morvane::testing
