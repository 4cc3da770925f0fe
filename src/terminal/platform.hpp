#pragma once
// What the terminal console needs from the operating system. One implementation per platform;
// nothing else in the game knows which one it runs on.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::platform {

// The words of the command line, the program's name first. On Windows they are read from the
// console's UTF-16 command line and given as UTF-8, whatever the code page.
std::vector<std::string> arguments(int argc, char** argv);
// Whether those words come in the console's encoding (POSIX: the bytes the shell passed, GBK
// under a GBK locale) rather than always in UTF-8 (Windows).
bool arguments_in_console_encoding();

// Before anything else: a standard stream that was closed gets a placeholder, so no file the
// game opens takes its place, and writes to a closed standard output fail as they should.
void claim_standard_streams();

// Puts the console in the state the game needs (and remembers what to restore), and arranges
// for the colour and the terminal to be restored at exit, on Ctrl-C and the other signals that
// end a program, and on Ctrl-Z (and back on resuming). `gbk` says the game's text is GBK rather
// than UTF-8.
void setup(bool color_on, bool gbk);
// The terminal as the player had it. Once the keyboard has been quiet (see keyboard_quiet()),
// whatever was typed and not read is dropped first, so that none of it reaches the shell.
void restore();
// The escape sequences of the palette the game shows its colours in (terminal/palette.hpp): the
// signal handlers write its colours too. It must outlive the program (a palette of the header's).
void use_palette(const std::array<std::string_view, 8>& palette);
// The palette colour the terminal shows now: shown again when the game resumes after Ctrl-Z.
void current_color(int k);
// Whether what the terminal was given last ended a line.
void at_line_start(bool yes);
// Whether a passing line (a note the game erases again) shows below the narration: it is taken
// away when a signal ends the game. The note was written after ESC 7 (the cursor saved), and is
// taken away by ESC 8 and an erasure to the end of the screen.
void note_shown(bool yes);
// A line for the player (in the console's encoding) shown on a terminal when Ctrl-C, Ctrl-\ or
// SIGTERM ends the game, on a line of its own: the game's seed. Empty: none.
void set_farewell(std::string line);
// Ends the program as Ctrl-C does (the same status, the terminal put back), without the
// farewell: the caller has shown what it had to.
[[noreturn]] void end_by_interrupt();

// The player's typing, as bytes in the console's encoding.
std::istream& input();

bool stdout_is_terminal();
bool stdin_is_terminal();
bool stderr_is_terminal();
// Whether the environment says the terminal understands no escape sequences (TERM=dumb; on
// POSIX also TERM unset).
bool dumb_terminal();

// Writes everything to standard output. 0 when it did, else the error number (errno) of the
// failure. A closed pipe ends the program as SIGPIPE would: see end_by_closed_pipe().
int write_stdout(const char* data, std::size_t size);
// Writes everything to standard error: the bytes as they are, or on a Windows console as
// UTF-16 from UTF-8 (GBK when `gbk`). 0 when it did, else the error number.
int write_stderr(std::string_view text, bool gbk);
// The width of the terminal that standard output shows on, in columns; 0 when it is not one.
int terminal_columns();

// A file named as typed on the command line (UTF-8 on Windows), opened as std::fopen does;
// nullptr with errno set when it cannot be.
std::FILE* open_file(const std::string& path, const char* mode);
bool is_regular_file(const std::string& path);
// Whether `path` names a FIFO, a socket or a device: opening one may wait for ever (a FIFO with
// no one at the other end) or read without end. False when nothing is there.
bool is_fifo_or_device(const std::string& path);
// Whether a file could be written at `path` later: 0, or the error number of why not. Nothing is
// left behind: a file that was not there is made and removed again, one that was is not opened.
// A device that fails only when written (/dev/full) is found out when it is written.
int writable(const std::string& path);

// The reader of the output has gone (`morvane | head`): restores the terminal and ends quietly,
// with the status a POSIX shell gives a program that SIGPIPE ended (141).
[[noreturn]] void end_by_closed_pipe();

// One key press from a terminal, without echo and without Enter: all of it (the whole escape
// sequence of an arrow or a function key, every byte of a character, an input method's text or
// a paste that arrives at once).
void wait_key();

// While a battle is narrated on a terminal, keys are read as they come, without echo. The whole
// lines typed before the battle began stay for the prompts after it, and a line left unfinished
// is dropped (it would be glued to the next answer, out of sight); what is typed during the
// battle is read by read_keys() or dropped by keys_end().
void keys_begin();
// Waits up to timeout_ms (without end when negative) for keys and appends what came to `keys`,
// whole keys only (characters in GBK when the game speaks it). False when the keyboard has gone
// (the terminal hung up): nothing more will come, and nothing was waited for.
bool read_keys(int timeout_ms, std::string& keys);
// Ends a battle's keys: they are dropped, and the keyboard is quiet from then on.
void keys_end();
// From now on nothing typed shows (no echo) but at a prompt, which takes the whole lines typed
// ahead and drops an unfinished one before the player's own typing shows again; and restore()
// drops what is left. A game is quiet from its first battle on, a replay from its start.
void keyboard_quiet();

void sleep_ms(double ms);

// Whether standard output takes ANSI escape sequences for colours and clearing: true for pipes,
// files and terminals that understand them. A console that does not (Windows before 10) is
// coloured and cleared by set_color() and clear_screen() instead. Known after setup().
bool escape_sequences();
// Palette colour 0 ... 7, for a console without escape sequences.
void set_color(int k);
void clear_screen();

// The character set the user's locale asks for, e.g. "UTF-8" or "GBK".
std::string locale_codeset();

// Whether the terminal's background is light, as far as it tells: COLORFGBG, else (on POSIX, a
// terminal on both standard input and output) its answer to a question about its background
// colour within timeout_ms, else (Windows) the console's background attribute. Nothing when it
// does not say. Known after setup().
std::optional<bool> light_background(int timeout_ms);

// Whether the console window is the game's alone (Windows: started by a double-click, the
// window closes as the game ends). Never on POSIX, where a terminal has its shell.
bool console_of_our_own();

// Where the game keeps what it remembers: $XDG_STATE_HOME/morvane (by default
// ~/.local/state/morvane), %LOCALAPPDATA%\morvane on Windows; in UTF-8 on Windows. Empty when
// the environment names no such place.
std::string state_folder();
// Makes the folder and those above it that are missing: 0, or the error number of why not.
int make_folders(const std::string& path);
// Puts `from` in the place of `to` in one step (the file `to` was is gone): 0, or the error
// number.
int replace_file(const std::string& from, const std::string& to);
// A lock on a file of its own (made when missing) that one process at a time holds: taken when
// made, within `timeout_ms`, and let go when destroyed.
class FileLock {
 public:
  FileLock(const std::string& path, int timeout_ms);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  // 0 when the lock is held, else the error number of why not (EWOULDBLOCK: another holds it).
  int error() const { return error_; }

 private:
  std::intptr_t handle_ = -1;
  int error_ = 0;
};

// Converts text between UTF-8 and GBK. Bytes that do not convert pass through unchanged.
class Transcoder {
 public:
  virtual ~Transcoder() = default;
  virtual std::string convert(std::string_view text) = 0;
};
std::unique_ptr<Transcoder> utf8_to_gbk();
std::unique_ptr<Transcoder> gbk_to_utf8();

}  // namespace morvane::platform
