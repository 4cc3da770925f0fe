// The POSIX side of the terminal: termios for the keys, poll and nanosleep for the pauses,
// iconv, signals.

#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <streambuf>
#include <string>

#include "terminal/keys.hpp"
#include "terminal/palette.hpp"
#include "terminal/platform.hpp"

namespace morvane::platform {
namespace {

// The signal handlers must find these without a game at hand, so they are the process's own.
// Each is written before the flag that tells a handler to use it (with a signal fence between),
// and the flags are sig_atomic_t.
volatile sig_atomic_t g_color_on = 0;    // colours are written
volatile sig_atomic_t g_tty_out = 0;     // standard output is a terminal
volatile sig_atomic_t g_color = 0;       // the palette colour the terminal shows now
volatile sig_atomic_t g_line_start = 1;  // what the terminal was given last ended a line
volatile sig_atomic_t g_note = 0;        // a passing note shows below the narration
volatile sig_atomic_t g_resumed = 0;     // SIGCONT came after the last Ctrl-Z
// The terminal's modes: the player's, or one of the game's, which g_mode names.
enum Mode : sig_atomic_t {
  kPlayers = 0,  // as the player had it (g_saved_termios)
  kKeys = 1,     // keys one by one, without echo (g_keys_termios)
  kQuiet = 2,    // lines, without echo (g_quiet_termios)
};
volatile sig_atomic_t g_mode = kPlayers;
// The keyboard has been quiet: what is typed and not read is dropped at the end.
volatile sig_atomic_t g_quiet = 0;
struct termios g_saved_termios;  // the terminal as the player had it
struct termios g_keys_termios;
struct termios g_quiet_termios;
bool g_saved = false;  // g_saved_termios holds the player's modes
std::atomic<const Palette*> g_palette{&kPalette};
std::string g_farewell;  // written before the flag that allows it
volatile sig_atomic_t g_has_farewell = 0;
bool g_stdout_closed = false;
bool g_keyboard_gone = false;  // standard input ended while keys were read
bool g_gbk = false;            // keys are GBK characters

constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Writes a colour from a signal handler, which must not wait: not for Ctrl-Q when the player
// has stopped the terminal's output with Ctrl-S (it is resumed first), nor for the reader of a
// pipe who has stopped reading (what does not fit at once is dropped). Async-signal-safe.
void write_from_handler(std::string_view bytes) {
  const int flags = g_tty_out != 0 ? -1 : fcntl(STDOUT_FILENO, F_GETFL);
  if (g_tty_out != 0) {
    // Linux resumes with TCOON only output that TCOOFF stopped: stopped that way first, output
    // stopped by Ctrl-S resumes too.
    tcflow(STDOUT_FILENO, TCOOFF);
    tcflow(STDOUT_FILENO, TCOON);
  } else if (flags != -1) {
    fcntl(STDOUT_FILENO, F_SETFL, flags | O_NONBLOCK);
  }
  ssize_t ignored = write(STDOUT_FILENO, bytes.data(), bytes.size());
  (void)ignored;
  if (flags != -1) fcntl(STDOUT_FILENO, F_SETFL, flags);
}

const struct termios& termios_of(sig_atomic_t mode) {
  return mode == kKeys ? g_keys_termios : mode == kQuiet ? g_quiet_termios : g_saved_termios;
}

// The terminal as the player had it. Async-signal-safe. The colour is reset on a terminal, and
// also in a file or pipe when the game is ending, as it would have been at the game's end. What
// was typed while the keyboard was the game's is not the shell's: it is dropped.
void reset_terminal(bool ending) {
  if (ending && g_note != 0 && g_tty_out != 0)
    write_from_handler(
        "\x1b"
        "8\x1b[J");
  if (g_color_on != 0 && (g_tty_out != 0 || ending)) write_from_handler((*g_palette)[0]);
  if (g_mode != kPlayers || g_quiet != 0) {
    tcflush(STDIN_FILENO, TCIFLUSH);
    tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_termios);
  }
}

// The terminal as the game had it. Async-signal-safe.
void resume_terminal() {
  if (g_mode != kPlayers) tcsetattr(STDIN_FILENO, TCSANOW, &termios_of(g_mode));
  const sig_atomic_t k = g_color;
  const Palette& palette = *g_palette;
  if (g_color_on != 0 && g_tty_out != 0 && k >= 0 && k < static_cast<int>(palette.size()))
    write_from_handler(palette[static_cast<std::size_t>(k)]);
}

// The seed on its own line, after a note is taken away and the colour reset. Async-signal-safe.
void say_farewell() {
  if (g_has_farewell == 0 || g_tty_out == 0) return;
  if (g_line_start == 0) write_from_handler("\n");
  write_from_handler(g_farewell);
  write_from_handler("\n");
}

// Ctrl-Z and the resume held back while the terminal's mode and g_mode change together: a
// resume between the two would put back the mode being left and leave it for good.
class StopAndResumeHeld {
 public:
  StopAndResumeHeld() {
    sigset_t held;
    sigemptyset(&held);
    sigaddset(&held, SIGTSTP);
    sigaddset(&held, SIGCONT);
    pthread_sigmask(SIG_BLOCK, &held, &before_);
  }
  ~StopAndResumeHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }
  StopAndResumeHeld(const StopAndResumeHeld&) = delete;
  StopAndResumeHeld& operator=(const StopAndResumeHeld&) = delete;

 private:
  sigset_t before_;
};

// The player's modes, kept once for all that follows. False when standard input is no terminal.
bool keep_players_modes() {
  if (g_saved) return true;
  if (tcgetattr(STDIN_FILENO, &g_saved_termios) != 0) return false;
  // Keys one by one, without echo; ISIG stays, so Ctrl-C, Ctrl-\ and Ctrl-Z still signal.
  g_keys_termios = g_saved_termios;
  g_keys_termios.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  g_keys_termios.c_cc[VMIN] = 1;
  g_keys_termios.c_cc[VTIME] = 0;
  // Lines as the player has them, edited by the terminal, without showing.
  g_quiet_termios = g_saved_termios;
  g_quiet_termios.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_saved = true;
  return true;
}

// Puts the terminal in `mode`. tcsetattr(TCSANOW), not TCSAFLUSH, which would drop what was
// typed ahead.
bool enter(Mode mode) {
  if (!keep_players_modes()) return false;
  if (g_mode == mode) return true;
  const StopAndResumeHeld held;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &termios_of(mode)) != 0) return false;
  g_mode = mode;
  return true;
}

// The mode outside the key waits and the battles.
Mode between() {
  return g_quiet != 0 ? kQuiet : kPlayers;
}

extern "C" void on_ending_signal(int sig) {
  // Ctrl-C and Ctrl-\ show as ^C and ^\ where the terminal echoes them.
  struct termios now {};
  constexpr tcflag_t kEchoed = ECHO | ECHOCTL;
  if ((sig == SIGINT || sig == SIGQUIT) && tcgetattr(STDIN_FILENO, &now) == 0 &&
      (now.c_lflag & kEchoed) == kEchoed)
    g_line_start = 0;
  reset_terminal(true);
  g_mode = kPlayers;
  // A hang-up leaves no one to read it.
  if (sig != SIGHUP) say_farewell();
  signal(sig, SIG_DFL);
  raise(sig);
}

void install(int sig, void (*handler)(int), int flags) {
  struct sigaction sa {};
  sa.sa_handler = handler;
  sa.sa_flags = flags;
  sigemptyset(&sa.sa_mask);
  sigaction(sig, &sa, nullptr);
}

// Only there to cut a wait short.
extern "C" void on_tick(int) {}

extern "C" void on_continue(int) {
  const int saved_errno = errno;
  g_resumed = 1;
  resume_terminal();
  errno = saved_errno;
}

// Ctrl-Z: the terminal as the player had it while the game is stopped, the game's again on
// resuming (by the SIGCONT handler, which also serves a stop by SIGSTOP).
extern "C" void on_stop(int) {
  const int saved_errno = errno;
  reset_terminal(false);
  g_resumed = 0;
  signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);
  // Stopped here until SIGCONT. A process group without a shell to resume it is not stopped
  // at all: then nothing has put the terminal back yet.
  if (g_resumed == 0) resume_terminal();
  install(SIGTSTP, on_stop, SA_RESTART);
  errno = saved_errno;
}

bool ignored_at_start(int sig) {
  struct sigaction current {};
  return sigaction(sig, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

// Whether input is waiting, within timeout_ms (for ever when negative). A signal cuts the wait
// short. The end of input counts as input: the read that follows finds it.
bool input_within(int timeout_ms) {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  return poll(&p, 1, timeout_ms) > 0;
}

// Reads what is waiting (at least a byte) and appends it; false at the end of input.
bool read_waiting(std::string& into) {
  char buf[512];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n > 0) {
      into.append(buf, static_cast<std::size_t>(n));
      return true;
    }
    if (n < 0 && errno == EINTR) continue;
    return false;
  }
}

// The rest of a key that has begun (an escape sequence, a character) arrives with it.
constexpr int kRestOfKeyMs = 50;

// What has arrived and the rest of any key it begins; false at the end of input.
bool read_burst(std::string& into) {
  if (!read_waiting(into)) return false;
  for (;;) {
    // Everything already there belongs to the same burst (a paste, an input method's text).
    while (input_within(0)) {
      if (!read_waiting(into)) return true;
    }
    // A key cut short: wait a moment for its end.
    std::string_view rest = into;
    std::size_t n = 0;
    while (!rest.empty() && (n = keys::key_length(rest, g_gbk)) != 0)
      rest.remove_prefix(n);
    if (rest.empty() || !input_within(kRestOfKeyMs)) return true;
  }
}

// Reads exactly `count` bytes that are known to be waiting, as many reads as lines they hold;
// false when a read finds the end of input (Ctrl-D at the start of a line) first.
bool read_known(std::string& into, std::size_t count) {
  while (count > 0) {
    char buf[512];
    const ssize_t n = read(STDIN_FILENO, buf, std::min(sizeof buf, count));
    if (n > 0) {
      into.append(buf, static_cast<std::size_t>(n));
      count -= static_cast<std::size_t>(n);
    } else if (n == 0 || errno != EINTR) {
      return false;
    }
  }
  return true;
}

// The player's typing: standard input read a block at a time. What keys_begin() and the prompts
// find typed ahead is kept here for the prompts that follow. The end of input lasts, as a pipe's
// does: after Ctrl-D every prompt reads the end of input at once.
class Input final : public std::streambuf {
 public:
  // The whole lines typed ahead, while the terminal takes lines: taken and kept. What is left,
  // a line not ended, is dropped: typed out of sight, it would be glued to the next answer.
  void take_typed_ahead() {
    int waiting = 0;
    // With lines, what can be read is the lines ended.
    if (ioctl(STDIN_FILENO, FIONREAD, &waiting) == 0 && waiting > 0) {
      if (!read_known(kept_, static_cast<std::size_t>(waiting))) ended_ = true;
    }
    tcflush(STDIN_FILENO, TCIFLUSH);
  }
  void keep(std::string_view typed) { kept_ += typed; }

 protected:
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    // A prompt, while the keyboard is quiet: what was typed out of sight is settled first.
    if (g_quiet != 0 && kept_.empty() && !ended_) take_typed_ahead();
    if (!kept_.empty()) {
      buffer_.swap(kept_);
      kept_.clear();
    } else if (ended_ || !read_block()) {
      ended_ = true;
      buffer_.clear();
      return traits_type::eof();
    }
    setg(buffer_.data(), buffer_.data(), buffer_.data() + buffer_.size());
    return traits_type::to_int_type(*gptr());
  }

 private:
  // A block of the player's typing, which shows as it is typed. False at the end of input.
  bool read_block() {
    const bool shown = g_quiet != 0 && enter(kPlayers);
    buffer_.resize(kBlock);
    ssize_t n = 0;
    do {
      n = read(STDIN_FILENO, buffer_.data(), buffer_.size());
    } while (n < 0 && errno == EINTR);
    if (shown) enter(kQuiet);
    buffer_.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return n > 0;
  }

  static constexpr std::size_t kBlock = 1 << 16;
  std::string buffer_;
  std::string kept_;
  bool ended_ = false;
};

Input& input_buffer() {
  static Input buffer;
  return buffer;
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

std::terminate_handler g_next_terminate = nullptr;

// An exception nothing caught: the terminal is put back before the runtime reports it.
[[noreturn]] void restore_and_terminate() {
  reset_terminal(false);
  g_mode = kPlayers;
  if (g_next_terminate != nullptr) g_next_terminate();
  std::abort();
}

// Restores the terminal on the signals that end a program, on exit, and on an exception nothing
// caught; puts it back and forth around Ctrl-Z.
void install_handlers() {
  // A signal ignored when the game started stays ignored (`nohup morvane`).
  for (const int sig : kEndingSignals) {
    if (!ignored_at_start(sig)) install(sig, on_ending_signal, 0);
  }
  if (!ignored_at_start(SIGTSTP)) install(SIGTSTP, on_stop, SA_RESTART);
  if (!ignored_at_start(SIGCONT)) install(SIGCONT, on_continue, SA_RESTART);
  static bool once = false;
  if (!once) {
    once = true;
    std::atexit(restore);
    g_next_terminate = std::set_terminate(restore_and_terminate);
  }
}

}  // namespace

std::vector<std::string> arguments(int argc, char** argv) {
  return {argv, argv + argc};
}

bool arguments_in_console_encoding() {
  return true;
}

void claim_standard_streams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor: this one, as those below it are open by now.
    if (open("/dev/null", O_RDWR) != fd) continue;
    if (fd == STDOUT_FILENO) g_stdout_closed = true;
  }
}

void setup(bool color_on, bool gbk) {
  g_gbk = gbk;
  g_color_on = color_on ? 1 : 0;
  g_tty_out = stdout_is_terminal() ? 1 : 0;
  install_handlers();
}

void restore() {
  if (g_mode == kPlayers && g_quiet == 0) return;
  const StopAndResumeHeld held;
  // What was typed to a game that no longer reads is not for the shell.
  if (g_quiet != 0) tcflush(STDIN_FILENO, TCIFLUSH);
  tcsetattr(STDIN_FILENO, TCSANOW, &g_saved_termios);
  g_mode = kPlayers;
  g_quiet = 0;
}

void use_palette(const Palette& palette) {
  g_palette = &palette;
}

void current_color(int k) {
  g_color = k;
}

void at_line_start(bool yes) {
  g_line_start = yes ? 1 : 0;
}

void note_shown(bool yes) {
  g_note = yes ? 1 : 0;
}

void set_farewell(std::string line) {
  g_has_farewell = 0;
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_farewell = std::move(line);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  g_has_farewell = g_farewell.empty() ? 0 : 1;
}

void end_by_interrupt() {
  restore();
  signal(SIGINT, SIG_DFL);
  raise(SIGINT);
  _exit(128 + SIGINT);
}

std::istream& input() {
  static std::istream in(&input_buffer());
  return in;
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

bool dumb_terminal() {
  const char* term = std::getenv("TERM");
  return term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0;
}

int write_stdout(const char* data, std::size_t size) {
  if (g_stdout_closed) return EBADF;
  while (size > 0) {
    const ssize_t n = write(STDOUT_FILENO, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) end_by_closed_pipe();
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int write_stderr(std::string_view text, bool /*gbk*/) {
  while (!text.empty()) {
    const ssize_t n = write(STDERR_FILENO, text.data(), text.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return 0;
}

int terminal_columns() {
  struct winsize size {};
  if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
  return size.ws_col;
}

std::FILE* open_file(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

bool is_regular_file(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool is_fifo_or_device(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

namespace {

// Where a symbolic link (or a chain of them) that names no file yet leads: the file that writing
// through it would make. `path` itself when it is no link.
std::string link_end(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) break;
    std::string target(4096, '\0');
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length <= 0) break;
    target.resize(static_cast<std::size_t>(length));
    // A relative target is taken from the link's folder.
    const std::size_t slash = path.rfind('/');
    if (target.front() != '/' && slash != std::string::npos) target.insert(0, path, 0, slash + 1);
    path = std::move(target);
  }
  return path;
}

}  // namespace

int writable(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) == 0) {
    if (S_ISDIR(status.st_mode)) return EISDIR;
    return access(path.c_str(), W_OK) == 0 ? 0 : errno;
  }
  if (errno != ENOENT) return errno;  // a link that loops, a folder that cannot be searched
  // A link to a file not made yet is written through, as the shell's > writes through it: the
  // file it leads to is made and removed again, never one that someone else made meanwhile.
  const std::string end = link_end(path);
  const int file = open(end.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (file < 0) return errno;
  close(file);
  unlink(end.c_str());
  return 0;
}

void end_by_closed_pipe() {
  restore();
  signal(SIGPIPE, SIG_DFL);
  raise(SIGPIPE);
  _exit(128 + SIGPIPE);
}

void wait_key() {
  // Also after the game, when a window waits for a key before it closes.
  install_handlers();
  const Mode after = between();
  if (!enter(kKeys)) return;
  std::string key;
  read_burst(key);
  enter(after);
}

void keys_begin() {
  g_keyboard_gone = false;
  // While the terminal still takes lines: the whole lines typed ahead are for the prompts after
  // the battle, and a line not ended is dropped.
  if (keep_players_modes()) input_buffer().take_typed_ahead();
  if (!enter(kKeys)) g_keyboard_gone = true;
}

bool read_keys(int timeout_ms, std::string& keys) {
  if (g_keyboard_gone) return false;
  if (!input_within(timeout_ms)) return true;  // the time is up, or a signal came
  if (!read_burst(keys)) g_keyboard_gone = true;
  return !g_keyboard_gone;
}

void keys_end() {
  // Keys pressed during the battle answer nothing.
  tcflush(STDIN_FILENO, TCIFLUSH);
  keyboard_quiet();
}

void keyboard_quiet() {
  if (!keep_players_modes()) return;
  g_quiet = 1;
  enter(kQuiet);
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

std::optional<bool> light_background(int timeout_ms) {
  if (const char* colors = std::getenv("COLORFGBG")) {
    if (const auto light = light_from_colorfgbg(colors)) return light;
  }
  struct stat in {
  }, out{};
  // The question goes to standard output, the answer comes on standard input: one terminal.
  if (!stdin_is_terminal() || !stdout_is_terminal() || dumb_terminal() ||
      fstat(STDIN_FILENO, &in) != 0 || fstat(STDOUT_FILENO, &out) != 0 || in.st_rdev != out.st_rdev)
    return std::nullopt;
  const sig_atomic_t before = g_mode;
  if (!enter(kKeys)) return std::nullopt;
  std::string answers;
  if (write_stdout(kBackgroundQuestion.data(), kBackgroundQuestion.size()) == 0) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (!background_answers_ended(answers)) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) break;
      if (input_within(static_cast<int>(left)) && !read_waiting(answers)) break;
    }
  }
  enter(static_cast<Mode>(before));
  // Keys typed meanwhile are the player's.
  input_buffer().keep(besides_answers(answers));
  return light_from_background_answer(answers);
}

bool console_of_our_own() {
  return false;
}

std::string state_folder() {
  // A relative XDG_STATE_HOME is to be ignored, as the XDG base directories say.
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && state[0] == '/')
    return std::string(state) + "/morvane";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::string(home) + "/.local/state/morvane";
}

int make_folders(const std::string& path) {
  for (std::size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    const std::string folder = path.substr(0, at);
    // The folders of state are the user's alone.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return errno;
    if (at == std::string::npos) break;
  }
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return errno;
  return S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
}

int replace_file(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

FileLock::FileLock(const std::string& path, int timeout_ms) {
  const int file = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (file < 0) {
    error_ = errno;
    return;
  }
  handle_ = file;
  // Waited for in the kernel, which hands the lock on as soon as it is let go (trying again and
  // again could find it taken every time by a writer that keeps coming back). A timer cuts the
  // wait short every tenth of a second, so that a holder that hangs costs a warning, not the game.
  struct sigaction tick {
  }, before{};
  tick.sa_handler = on_tick;
  sigemptyset(&tick.sa_mask);
  sigaction(SIGALRM, &tick, &before);
  const itimerval every{{0, 100'000}, {0, 100'000}};
  itimerval previous{};
  setitimer(ITIMER_REAL, &every, &previous);
  struct flock whole {};
  whole.l_type = F_WRLCK;
  whole.l_whence = SEEK_SET;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  while (fcntl(file, F_SETLKW, &whole) != 0) {
    if (errno != EINTR) {
      error_ = errno;
      break;
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      error_ = EWOULDBLOCK;
      break;
    }
  }
  setitimer(ITIMER_REAL, &previous, nullptr);
  sigaction(SIGALRM, &before, nullptr);
}

FileLock::~FileLock() {
  if (handle_ >= 0) close(static_cast<int>(handle_));
}

std::unique_ptr<Transcoder> utf8_to_gbk() {
  return std::make_unique<Iconv>("GBK", "UTF-8");
}
std::unique_ptr<Transcoder> gbk_to_utf8() {
  return std::make_unique<Iconv>("UTF-8", "GBK");
}

}  // namespace morvane::platform
