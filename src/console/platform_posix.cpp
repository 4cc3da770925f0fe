// The POSIX side of the terminal: termios for the key wait, nanosleep, iconv, signals.

#include <errno.h>
#include <iconv.h>
#include <langinfo.h>
#include <signal.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <iostream>
#include <string>

#include "console/platform.hpp"

namespace morvane::platform {
namespace {

// The signal handler must find these without a game at hand, so they are the process's own.
// They are written before the handler is installed, or while it is blocked out by their nature
// (a sig_atomic_t flag), and read only by the handler and at exit.
volatile sig_atomic_t g_color_on = 0;
volatile sig_atomic_t g_raw_mode = 0;
struct termios g_saved_termios;

constexpr char kReset[] = "\x1b[0m";

void restore_now() {
  if (g_raw_mode != 0) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_termios);
    g_raw_mode = 0;
  }
}

extern "C" void on_signal(int sig) {
  // Only async-signal-safe calls here.
  if (g_color_on != 0) {
    ssize_t ignored = write(STDOUT_FILENO, kReset, sizeof kReset - 1);
    (void)ignored;
  }
  restore_now();
  signal(sig, SIG_DFL);
  raise(sig);
}

class Iconv final : public Transcoder {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() override {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  std::string convert(std::string_view text) override {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string out;
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());  // iconv's signature; it does not write
    size_t in_left = text.size();
    char buf[256];
    while (in_left > 0) {
      char* dst = buf;
      size_t dst_left = sizeof buf;
      const size_t r = iconv(cd_, &in, &in_left, &dst, &dst_left);
      out.append(buf, static_cast<size_t>(dst - buf));
      if (r != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // A byte that does not convert (or a truncated sequence at the end) passes through.
      out += *in;
      ++in;
      --in_left;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buf;
    size_t dst_left = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &dst_left);
    out.append(buf, static_cast<size_t>(dst - buf));
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

void setup(bool color_on, bool /*gbk*/) {
  g_color_on = color_on ? 1 : 0;
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
}

void restore() {
  restore_now();
}

std::istream& input() {
  return std::cin;
}

bool stdout_is_terminal() {
  return isatty(STDOUT_FILENO) == 1;
}
bool stdin_is_terminal() {
  return isatty(STDIN_FILENO) == 1;
}
bool stderr_is_terminal() {
  return isatty(STDERR_FILENO) == 1;
}

bool write_stdout(const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = write(STDOUT_FILENO, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) {
        // The reader has gone (`morvane | head`): end as quietly as SIGPIPE would have.
        restore_now();
        signal(SIGPIPE, SIG_DFL);
        raise(SIGPIPE);
        _exit(128 + SIGPIPE);
      }
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

void wait_key() {
  if (tcgetattr(STDIN_FILENO, &g_saved_termios) != 0) return;
  struct termios raw = g_saved_termios;
  raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);  // ISIG stays: Ctrl-C still works
  raw.c_cc[VMIN] = 1;
  raw.c_cc[VTIME] = 0;
  g_raw_mode = 1;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) {
    g_raw_mode = 0;
    return;
  }
  char c = 0;
  while (read(STDIN_FILENO, &c, 1) < 0 && errno == EINTR) {
  }
  restore_now();
}

void sleep_ms(double ms) {
  if (!(ms > 0)) return;
  struct timespec ts;
  const double whole = std::floor(ms / 1000.0);
  ts.tv_sec = static_cast<time_t>(whole);
  ts.tv_nsec = static_cast<long>((ms - whole * 1000.0) * 1e6);
  while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
  }
}

// Terminals here all take escape sequences.
bool escape_sequences() {
  return true;
}
void set_color(int /*k*/) {}
void clear_screen() {}

std::string locale_codeset() {
  std::setlocale(LC_CTYPE, "");
  const char* codeset = nl_langinfo(CODESET);
  std::string result = codeset != nullptr ? codeset : "";
  // The game's own text stays plain bytes: only the codeset was wanted.
  std::setlocale(LC_CTYPE, "C");
  return result;
}

std::unique_ptr<Transcoder> utf8_to_gbk() {
  return std::make_unique<Iconv>("GBK", "UTF-8");
}
std::unique_ptr<Transcoder> gbk_to_utf8() {
  return std::make_unique<Iconv>("UTF-8", "GBK");
}

}  // namespace morvane::platform
