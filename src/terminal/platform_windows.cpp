// The Windows side of the terminal: the console API for modes, code pages, colours and the
// player's typing (UTF-16, converted here), _getch for the key wait, Sleep, and code page 936
// for GBK.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shellapi.h>

#include <conio.h>
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>
#include <streambuf>
#include <string>

#include "console/unicode.hpp"
#include "terminal/keys.hpp"
#include "terminal/palette.hpp"
#include "terminal/platform.hpp"

#ifndef ENABLE_VIRTUAL_TERMINAL_PROCESSING
#define ENABLE_VIRTUAL_TERMINAL_PROCESSING 0x0004
#endif

namespace morvane::platform {
namespace {

constexpr UINT kGbk = 936;

// Palette colour k as a console text attribute (bit 0 blue, 1 green, 2 red, 3 bright): the
// colours the game has always had on the Windows console.
constexpr std::array<WORD, 8> kAttributes = {15, 11, 10, 13, 12, 9, 14, 8};
// The same colours for a light background: the dark ones (the normal colour is the console's
// own, fixed below).
constexpr std::array<WORD, 8> kLightAttributes = {0, 3, 2, 5, 4, 1, 6, 8};

// What setup() changed, for restore() to put back. The Ctrl-C handler runs on a thread of its
// own; it reads these only after setup() has written them and installed it.
struct Saved {
  bool out_console = false;
  DWORD out_mode = 0;
  WORD attributes = 7;
  bool in_console = false;
  DWORD in_mode = 0;
  bool code_pages = false;
  UINT out_cp = 0;
  UINT in_cp = 0;
};
Saved g_saved;
bool g_setup = false;
bool g_color_on = false;
bool g_escapes = true;
bool g_gbk = false;
std::atomic<bool> g_attributes_changed{false};
std::atomic<bool> g_interrupted{false};
std::atomic<bool> g_restored{false};
std::atomic<const Palette*> g_palette{&kPalette};
std::atomic<bool> g_line_start{true};
std::atomic<bool> g_note{false};
std::atomic<bool> g_quiet{false};  // what is typed and not read is dropped at the end
std::string g_farewell;            // written before the Ctrl-C handler is installed or while
                                   // none can come: the handler reads it
std::atomic<bool> g_has_farewell{false};

bool is_console(HANDLE h) {
  DWORD mode = 0;
  return GetConsoleMode(h, &mode) != 0;
}

void restore_now() {
  if (!g_setup || g_restored.exchange(true)) return;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (g_saved.out_console) {
    if (g_attributes_changed) SetConsoleTextAttribute(out, g_saved.attributes);
    SetConsoleMode(out, g_saved.out_mode);
  }
  if (g_saved.in_console) {
    // What was typed to a game that no longer reads is not for the shell.
    if (g_quiet) FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
    SetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), g_saved.in_mode);
  }
  if (g_saved.code_pages) {
    SetConsoleOutputCP(g_saved.out_cp);
    SetConsoleCP(g_saved.in_cp);
  }
}

bool write_console(HANDLE out, std::string_view bytes, UINT cp);

BOOL WINAPI on_ctrl(DWORD event) {
  g_interrupted = true;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const auto say = [out](std::string_view bytes) {
    if (is_console(out)) {
      write_console(out, bytes, g_gbk ? kGbk : CP_UTF8);
    } else {
      DWORD written = 0;
      WriteFile(out, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }
  };
  if (g_note && g_escapes && is_console(out))
    say("\x1b"
        "8\x1b[J");
  if (g_color_on && g_escapes) say((*g_palette)[0]);
  restore_now();
  // The seed, on a line of its own; not when the window is closing.
  if (g_has_farewell && is_console(out) && (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT)) {
    say(g_line_start ? "" : "\n");
    say(g_farewell);
    say("\n");
  }
  return FALSE;  // the default handler ends the program, with Ctrl-C's own status
}

// Bytes in code page cp as UTF-16. With MB_ERR_INVALID_CHARS, false when a byte does not
// convert; without it such bytes become U+FFFD.
bool widen(UINT cp, std::string_view bytes, DWORD flags, std::wstring& wide) {
  wide.clear();
  if (bytes.empty()) return true;
  if (bytes.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int size = static_cast<int>(bytes.size());
  const int n = MultiByteToWideChar(cp, flags, bytes.data(), size, nullptr, 0);
  if (n <= 0) return false;
  wide.resize(static_cast<std::size_t>(n));
  return MultiByteToWideChar(cp, flags, bytes.data(), size, wide.data(), n) == n;
}

// Appends UTF-16 text in code page cp (CP_UTF8 or GBK's 936); false, appending nothing, when a
// character has no place in it.
bool narrow(UINT cp, std::wstring_view wide, std::string& out) {
  if (wide.empty()) return true;
  if (wide.size() > static_cast<std::size_t>(INT_MAX)) return false;
  const int size = static_cast<int>(wide.size());
  // Code page 936 must not swap a missing character for a look-alike ("é" for "e").
  const DWORD flags = cp == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  BOOL used_default = FALSE;
  BOOL* check = cp == CP_UTF8 ? nullptr : &used_default;
  const int n = WideCharToMultiByte(cp, flags, wide.data(), size, nullptr, 0, nullptr, check);
  if (n <= 0 || used_default) return false;
  std::string bytes(static_cast<std::size_t>(n), '\0');
  if (WideCharToMultiByte(cp, flags, wide.data(), size, bytes.data(), n, nullptr, check) != n ||
      used_default)
    return false;
  out += bytes;
  return true;
}

// Text from one code page to another, through UTF-16. Most text converts in one go; otherwise
// it goes a character at a time, and what does not convert passes through as it was.
class CodePages final : public Transcoder {
 public:
  CodePages(UINT from, UINT to) : from_(from), to_(to) {}

  std::string convert(std::string_view text) override {
    std::string out;
    std::wstring wide;
    if (widen(from_, text, MB_ERR_INVALID_CHARS, wide) && narrow(to_, wide, out)) return out;
    out.clear();
    while (!text.empty()) {
      const std::size_t n = character_length(text);
      if (n > 0 && static_cast<unsigned char>(text[0]) >= 0x80 &&
          widen(from_, text.substr(0, n), MB_ERR_INVALID_CHARS, wide) && narrow(to_, wide, out)) {
        text.remove_prefix(n);
      } else {
        out += text[0];
        text.remove_prefix(1);
      }
    }
    return out;
  }

 private:
  // Bytes of the character at the start of text; 0 when they are not one.
  std::size_t character_length(std::string_view text) const {
    if (from_ == CP_UTF8) return unicode::decode_utf8(text).length;
    const auto lead = static_cast<unsigned char>(text[0]);
    return lead >= 0x81 && lead <= 0xFE && text.size() >= 2 ? 2 : 1;
  }

  UINT from_;
  UINT to_;
};

// The player's typing at a console. Plain reads of a console on UTF-8 return NUL bytes for
// non-ASCII text, so it is read as UTF-16 and handed over in the game's encoding.
class ConsoleInput final : public std::streambuf {
 public:
  // Text typed ahead of the prompts that keys_begin() took out of the console's input.
  void keep(std::string_view typed) { kept_ += typed; }

 protected:
  int_type underflow() override {
    while (gptr() == egptr()) {
      if (!kept_.empty()) {
        text_.swap(kept_);
        kept_.clear();
        setg(text_.data(), text_.data(), text_.data() + text_.size());
        break;
      }
      if (ended_) return traits_type::eof();
      fill();
    }
    return traits_type::to_int_type(*gptr());
  }

 private:
  void fill() {
    std::array<wchar_t, 1024> wide{};
    DWORD got = 0;
    if (ReadConsoleW(GetStdHandle(STD_INPUT_HANDLE), wide.data(), static_cast<DWORD>(wide.size()),
                     &got, nullptr) == 0 ||
        got == 0) {
      // Ctrl-C cuts a read short with nothing read; its handler is ending the program.
      for (int i = 0; i < 40 && !g_interrupted; ++i)
        Sleep(25);
      if (g_interrupted) Sleep(INFINITE);
      ended_ = true;
      return;
    }
    std::u16string units;
    for (DWORD i = 0; i < got; ++i) {
      // Ctrl-Z ends a console's input, as it does for the C runtime.
      if (wide[i] == L'\x1a') {
        ended_ = true;
        break;
      }
      units += static_cast<char16_t>(wide[i]);
    }
    text_ = decoder_.decode(units);
    if (g_gbk) {
      if (!to_gbk_) to_gbk_ = utf8_to_gbk();
      text_ = to_gbk_->convert(text_);
    }
    setg(text_.data(), text_.data(), text_.data() + text_.size());
  }

  unicode::Utf16Decoder decoder_;
  std::unique_ptr<Transcoder> to_gbk_;
  std::string text_;
  std::string kept_;
  bool ended_ = false;
};

ConsoleInput& console_input() {
  static ConsoleInput buffer;
  return buffer;
}

std::istream& choose_input() {
  if (is_console(GetStdHandle(STD_INPUT_HANDLE))) {
    static std::istream console(&console_input());
    return console;
  }
  // A pipe or a file: its bytes as they are ("\r" and Ctrl-Z included), as on other systems.
  _setmode(_fileno(stdin), _O_BINARY);
  return std::cin;
}

// Bytes in code page cp shown on a console: as UTF-16, so the console's code page cannot garble
// them.
bool write_console(HANDLE out, std::string_view bytes, UINT cp) {
  std::wstring wide;
  if (!widen(cp, bytes, 0, wide)) return bytes.empty();
  std::wstring_view left = wide;
  while (!left.empty()) {
    // Older consoles refuse very large writes; a surrogate pair stays in one piece.
    std::size_t chunk = std::min<std::size_t>(left.size(), 8192);
    if (chunk < left.size() && left[chunk - 1] >= 0xD800 && left[chunk - 1] <= 0xDBFF) --chunk;
    DWORD written = 0;
    if (WriteConsoleW(out, left.data(), static_cast<DWORD>(chunk), &written, nullptr) == 0 ||
        written == 0)
      return false;
    left.remove_prefix(written);
  }
  return true;
}

}  // namespace

void setup(bool color_on, bool gbk) {
  g_color_on = color_on;
  g_gbk = gbk;
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(out, &mode) != 0) {
    g_saved.out_console = true;
    g_saved.out_mode = mode;
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(out, &info) != 0) g_saved.attributes = info.wAttributes;
    // Escape sequences where the console understands them (Windows 10 and later); the others
    // are coloured and cleared by calls. Line ends keep their carriage return.
    g_escapes = (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 ||
                SetConsoleMode(out, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
  } else {
    // A pipe or a file (or NUL): the same bytes as on any other system, "\n" included.
    _setmode(_fileno(stdout), _O_BINARY);
    g_escapes = true;
  }
  if (GetConsoleMode(in, &mode) != 0) {
    g_saved.in_console = true;
    g_saved.in_mode = mode;
    // Lines typed are echoed and can be edited; Ctrl-C reaches the handler.
    SetConsoleMode(in, mode | ENABLE_PROCESSED_INPUT | ENABLE_LINE_INPUT | ENABLE_ECHO_INPUT);
  }
  // A console is put on UTF-8, unless the player chose GBK for a console left on code page 936.
  if (!gbk && (g_saved.out_console || g_saved.in_console)) {
    g_saved.out_cp = GetConsoleOutputCP();
    g_saved.in_cp = GetConsoleCP();
    g_saved.code_pages = true;
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
  }
  g_setup = true;
  static bool once = false;
  if (!once) {
    once = true;
    SetConsoleCtrlHandler(on_ctrl, TRUE);
    // exit() and an exception nothing caught put the console back too.
    std::atexit(restore);
    static std::terminate_handler next = nullptr;
    next = std::set_terminate([] {
      restore_now();
      if (next != nullptr) next();
      std::abort();
    });
  }
}

std::vector<std::string> arguments(int argc, char** argv) {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return {argv, argv + argc};
  std::vector<std::string> utf8(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    narrow(CP_UTF8, words[i], utf8[static_cast<std::size_t>(i)]);
  LocalFree(words);
  return utf8;
}

bool arguments_in_console_encoding() {
  return false;
}

void claim_standard_streams() {
  // A handle that is missing makes write_stdout() fail; no file can take its place.
}

void restore() {
  restore_now();
}

void use_palette(const Palette& palette) {
  g_palette = &palette;
}

// Nothing stops a Windows console program the way Ctrl-Z stops a POSIX one.
void current_color(int /*k*/) {}

void at_line_start(bool yes) {
  g_line_start = yes;
}

void note_shown(bool yes) {
  g_note = yes;
}

void set_farewell(std::string line) {
  g_has_farewell = false;
  g_farewell = std::move(line);
  g_has_farewell = !g_farewell.empty();
}

void end_by_interrupt() {
  restore_now();
  // The status the console's own Ctrl-C handling ends a program with.
  ExitProcess(STATUS_CONTROL_C_EXIT);
}

std::istream& input() {
  static std::istream& in = choose_input();
  return in;
}

bool stdout_is_terminal() {
  return is_console(GetStdHandle(STD_OUTPUT_HANDLE));
}
bool stdin_is_terminal() {
  return is_console(GetStdHandle(STD_INPUT_HANDLE));
}
bool stderr_is_terminal() {
  return is_console(GetStdHandle(STD_ERROR_HANDLE));
}

bool dumb_terminal() {
  // A Windows console sets no TERM; a terminal that does (MSYS, Cygwin) says what it is.
  const char* term = std::getenv("TERM");
  return term != nullptr && std::strcmp(term, "dumb") == 0;
}

int write_stdout(const char* data, std::size_t size) {
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) return EBADF;
  if (is_console(out))
    return write_console(out, std::string_view(data, size), g_gbk ? kGbk : CP_UTF8) ? 0 : EIO;
  while (size > 0) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 30));
    DWORD written = 0;
    if (WriteFile(out, data, chunk, &written, nullptr) == 0) {
      switch (GetLastError()) {
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
          end_by_closed_pipe();
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
          return ENOSPC;
        case ERROR_INVALID_HANDLE:
          return EBADF;
        case ERROR_ACCESS_DENIED:
          return EACCES;
        default:
          return EIO;
      }
    }
    if (written == 0) return EIO;
    data += written;
    size -= written;
  }
  return 0;
}

int write_stderr(std::string_view text, bool gbk) {
  const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return EBADF;
  if (is_console(err)) return write_console(err, text, gbk ? kGbk : CP_UTF8) ? 0 : EIO;
  while (!text.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 30));
    DWORD written = 0;
    if (WriteFile(err, text.data(), chunk, &written, nullptr) == 0 || written == 0) return EIO;
    text.remove_prefix(written);
  }
  return 0;
}

int terminal_columns() {
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &info) == 0) return 0;
  return info.srWindow.Right - info.srWindow.Left + 1;
}

std::FILE* open_file(const std::string& path, const char* mode) {
  std::wstring wide_path, wide_mode;
  if (!widen(CP_UTF8, path, MB_ERR_INVALID_CHARS, wide_path) ||
      !widen(CP_UTF8, mode, 0, wide_mode)) {
    errno = ENOENT;
    return nullptr;
  }
  return _wfopen(wide_path.c_str(), wide_mode.c_str());
}

bool is_regular_file(const std::string& path) {
  std::wstring wide;
  if (!widen(CP_UTF8, path, MB_ERR_INVALID_CHARS, wide)) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool is_fifo_or_device(const std::string& path) {
  std::wstring wide;
  if (!widen(CP_UTF8, path, MB_ERR_INVALID_CHARS, wide)) return false;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DEVICE) != 0;
}

int writable(const std::string& path) {
  std::wstring wide;
  if (!widen(CP_UTF8, path, MB_ERR_INVALID_CHARS, wide)) return ENOENT;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return EISDIR;
    return _waccess(wide.c_str(), 2) == 0 ? 0 : errno;
  }
  const int file = _wopen(wide.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, 0666);
  if (file < 0) return errno;
  _close(file);
  _wremove(wide.c_str());
  return 0;
}

void end_by_closed_pipe() {
  // The reader has gone (`morvane | more` ended early): end quietly, with the status a POSIX
  // shell gives a program that SIGPIPE ended.
  restore_now();
  ExitProcess(128 + 13);
}

namespace {

// One key from _getch: function and arrow keys arrive as two codes, the first 0 or 0xE0. They
// are given as an escape sequence (ESC O and a final byte), which means nothing in a battle.
std::string getch_key() {
  const int c = _getch();
  if (c == 0 || c == 0xE0) {
    const int code = _getch();
    const char last = code >= 0x40 && code <= 0x7E ? static_cast<char>(code) : '~';
    return std::string("\x1bO") + last;
  }
  return std::string(1, static_cast<char>(c));
}

}  // namespace

void wait_key() {
  // The whole key, and whatever came with it (an input method's text, a paste).
  getch_key();
  while (_kbhit())
    getch_key();
}

namespace {

// What the key events waiting in the console's input type, as UTF-16: characters whole (a
// surrogate pair, an input method's text); keys that type none (arrows, Shift) are passed over.
// As `lines`, Backspace takes back the character before it and Enter ends a line, as the
// console's line editing would have made them.
std::u16string console_typing(HANDLE in, bool lines) {
  std::u16string typed;
  DWORD waiting = 0;
  while (GetNumberOfConsoleInputEvents(in, &waiting) != 0 && waiting > 0) {
    std::array<INPUT_RECORD, 64> events{};
    DWORD got = 0;
    if (ReadConsoleInputW(in, events.data(), static_cast<DWORD>(events.size()), &got) == 0) break;
    for (DWORD i = 0; i < got; ++i) {
      const INPUT_RECORD& e = events[i];
      if (e.EventType != KEY_EVENT || !e.Event.KeyEvent.bKeyDown) continue;
      const auto unit = static_cast<char16_t>(e.Event.KeyEvent.uChar.UnicodeChar);
      const std::size_t times = std::max<WORD>(e.Event.KeyEvent.wRepeatCount, 1);
      if (lines && unit == u'\b') {
        typed.erase(typed.size() - std::min(times, typed.size()));
      } else if (lines && unit == u'\r') {
        for (std::size_t k = 0; k < times; ++k)
          typed += u"\r\n";
      } else if (unit != 0) {
        typed.append(times, unit);
      }
    }
  }
  return typed;
}

// UTF-16 text in the game's encoding.
std::string game_text(const std::u16string& typed) {
  unicode::Utf16Decoder decoder;
  const std::string text = decoder.decode(typed);
  return g_gbk ? utf8_to_gbk()->convert(text) : text;
}

// The keys waiting in the console's input, appended as the game's text.
void take_console_keys(HANDLE in, std::string& keys) {
  const std::u16string typed = console_typing(in, false);
  if (!typed.empty()) keys += game_text(typed);
}

}  // namespace

void keys_begin() {
  // Lines typed ahead are still key events in the console's input: they become text for the
  // prompts after the battle.
  std::u16string typed = console_typing(GetStdHandle(STD_INPUT_HANDLE), true);
  // A line not ended is dropped: typed out of sight, it would be glued to the next answer.
  const std::size_t line_end = typed.rfind(u'\n');
  typed.erase(line_end == std::u16string::npos ? 0 : line_end + 1);
  if (!typed.empty()) console_input().keep(game_text(typed));
}

bool read_keys(int timeout_ms, std::string& keys) {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  const auto start = std::chrono::steady_clock::now();
  for (;;) {
    take_console_keys(in, keys);
    if (!keys.empty()) return true;
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
    if (timeout_ms >= 0 && waited >= timeout_ms) return true;
    // Any event wakes the wait: a key, but also a key let go or the mouse, which are passed over.
    const DWORD left = timeout_ms < 0 ? INFINITE : static_cast<DWORD>(timeout_ms - waited);
    if (WaitForSingleObject(in, left) == WAIT_FAILED) return false;
  }
}

void keys_end() {
  // Keys pressed during the battle answer nothing.
  FlushConsoleInputBuffer(GetStdHandle(STD_INPUT_HANDLE));
  keyboard_quiet();
}

void keyboard_quiet() {
  // The console shows what is typed only while a prompt reads it.
  g_quiet = true;
}

void sleep_ms(double ms) {
  if (!(ms > 0)) return;
  // Whole milliseconds, rounded up so that a short pause still pauses.
  double left = std::ceil(ms);
  while (left > 0) {
    const DWORD part = left > 1e9 ? 1000000000u : static_cast<DWORD>(left);
    Sleep(part);
    left -= part;
  }
}

std::string locale_codeset() {
  // The console is set to UTF-8 (and pipes and files get what other systems get); GBK is
  // chosen with --encoding gbk.
  return "UTF-8";
}

bool escape_sequences() {
  return g_escapes;
}

void set_color(int k) {
  if (k < 0 || k >= static_cast<int>(kAttributes.size())) return;
  // The palette's colours on the console's own background; on a light one, the dark colours,
  // and the console's own text colour for the normal one.
  const bool light = g_palette.load() == &kLightPalette;
  WORD colour = (light ? kLightAttributes : kAttributes)[static_cast<std::size_t>(k)];
  if (light && k == 0) colour = g_saved.attributes & 0x0F;
  const auto attribute = static_cast<WORD>((g_saved.attributes & 0xF0) | colour);
  if (SetConsoleTextAttribute(GetStdHandle(STD_OUTPUT_HANDLE), attribute) != 0)
    g_attributes_changed = true;
}

void clear_screen() {
  // What "cls" does: blank every cell of the buffer and put the cursor home.
  const HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  CONSOLE_SCREEN_BUFFER_INFO info;
  if (GetConsoleScreenBufferInfo(out, &info) == 0) return;
  const DWORD cells = static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
  const COORD home{0, 0};
  DWORD done = 0;
  FillConsoleOutputCharacterW(out, L' ', cells, home, &done);
  FillConsoleOutputAttribute(out, info.wAttributes, cells, home, &done);
  SetConsoleCursorPosition(out, home);
}

std::optional<bool> light_background(int /*timeout_ms*/) {
  if (const char* colors = std::getenv("COLORFGBG")) {
    if (const auto light = light_from_colorfgbg(colors)) return light;
  }
  if (!g_saved.out_console) return std::nullopt;
  // The console's background colour: light grey, white, and the bright cyan, green and yellow.
  const WORD background = (g_saved.attributes >> 4) & 0x0F;
  return background == 7 || background == 15 || background == 10 || background == 11 ||
         background == 14;
}

bool console_of_our_own() {
  DWORD processes[2];
  // Started by a double-click, the console holds this process alone, and goes with it.
  return GetConsoleProcessList(processes, 2) == 1;
}

namespace {

std::wstring wide_path(const std::string& utf8) {
  std::wstring wide;
  widen(CP_UTF8, utf8, MB_ERR_INVALID_CHARS, wide);
  return wide;
}

int error_of(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_DIRECTORY:
      return ENOTDIR;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return ENOSPC;
    case ERROR_WRITE_PROTECT:
      return EROFS;
    default:
      return EIO;
  }
}

}  // namespace

std::string state_folder() {
  const wchar_t* local = _wgetenv(L"LOCALAPPDATA");
  if (local == nullptr || *local == L'\0') return {};
  std::string folder;
  narrow(CP_UTF8, local, folder);
  return folder.empty() ? folder : folder + "\\morvane";
}

int make_folders(const std::string& path) {
  const std::wstring wide = wide_path(path);
  if (wide.empty()) return ENOENT;
  for (std::size_t at = wide.find_first_of(L"\\/", 3);; at = wide.find_first_of(L"\\/", at + 1)) {
    const std::wstring folder = wide.substr(0, at);
    if (CreateDirectoryW(folder.c_str(), nullptr) == 0 && GetLastError() != ERROR_ALREADY_EXISTS)
      return error_of(GetLastError());
    if (at == std::wstring::npos) break;
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return error_of(GetLastError());
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? 0 : ENOTDIR;
}

int replace_file(const std::string& from, const std::string& to) {
  return MoveFileExW(wide_path(from).c_str(), wide_path(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0
             ? 0
             : error_of(GetLastError());
}

FileLock::FileLock(const std::string& path, int timeout_ms) {
  const HANDLE file =
      CreateFileW(wide_path(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OVERLAPPED, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    error_ = error_of(GetLastError());
    return;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  // Waited for in the system, which hands the lock on as soon as it is let go; given up after
  // timeout_ms, so that a holder that hangs costs a warning, not the game.
  OVERLAPPED whole{};
  whole.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole) == 0) {
    DWORD ignored = 0;
    if (GetLastError() != ERROR_IO_PENDING) {
      error_ = error_of(GetLastError());
    } else if (WaitForSingleObject(whole.hEvent, static_cast<DWORD>(timeout_ms)) != WAIT_OBJECT_0 ||
               GetOverlappedResult(file, &whole, &ignored, FALSE) == 0) {
      CancelIoEx(file, &whole);
      GetOverlappedResult(file, &whole, &ignored, TRUE);
      error_ = EWOULDBLOCK;
    }
  }
  CloseHandle(whole.hEvent);
}

FileLock::~FileLock() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::unique_ptr<Transcoder> utf8_to_gbk() {
  return std::make_unique<CodePages>(CP_UTF8, kGbk);
}
std::unique_ptr<Transcoder> gbk_to_utf8() {
  return std::make_unique<CodePages>(kGbk, CP_UTF8);
}

}  // namespace morvane::platform
