#pragma once
// What the terminal console needs from the operating system. One implementation per platform;
// nothing else in the game knows which one it runs on.

#include <cstddef>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace morvane::platform {

// Puts the console in the state the game needs (and remembers what to restore), and arranges
// for the colour and the terminal to be restored at exit and on Ctrl-C. `gbk` says the game's
// text is GBK rather than UTF-8.
void setup(bool color_on, bool gbk);
void restore();

// The player's typing, as bytes in the console's encoding.
std::istream& input();

bool stdout_is_terminal();
bool stdin_is_terminal();
bool stderr_is_terminal();

// Writes everything to standard output. False on an error; a closed pipe ends the program the
// conventional way, as if by SIGPIPE.
bool write_stdout(const char* data, std::size_t size);

// One key press from a terminal, without echo and without Enter.
void wait_key();

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

// Converts text between UTF-8 and GBK. Bytes that do not convert pass through unchanged.
class Transcoder {
 public:
  virtual ~Transcoder() = default;
  virtual std::string convert(std::string_view text) = 0;
};
std::unique_ptr<Transcoder> utf8_to_gbk();
std::unique_ptr<Transcoder> gbk_to_utf8();

}  // namespace morvane::platform
