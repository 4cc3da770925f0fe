#pragma once
// The console a player sees: colours, pacing, key waits and the encodings of real terminals.

#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/platform.hpp"
#include "console/token_reader.hpp"

namespace morvane {

enum class ColorChoice { Auto, Always, Never };
enum class EncodingChoice { Auto, Utf8, Gbk };

struct TerminalOptions {
  ColorChoice color = ColorChoice::Auto;
  EncodingChoice encoding = EncodingChoice::Auto;
  double speed = 1.0;  // every pause is divided by it
  bool no_pause = false;
};

// Whether colours are written: the option wins; under auto, a terminal that NO_COLOR (set and
// non-empty) does not turn off.
bool colors_wanted(ColorChoice choice, bool stdout_tty, const char* no_color);
// Whether text is GBK: the option wins; under auto, a locale whose codeset is a GBK family one.
bool gbk_wanted(EncodingChoice choice, std::string_view codeset);

class TerminalConsole final : public Console {
 public:
  TerminalConsole(const TerminalOptions& options, std::istream& in);
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  void color(int k) override;
  void write(std::string_view text) override;
  void write(std::int32_t number) override;
  void endl() override;
  std::int32_t read_number() override;
  std::string read_word() override;
  void wait_key() override;
  void clear() override;
  void pause(int ms) override;

  // Resets the colour and writes out what is left. False when any output was lost.
  bool finish();

 private:
  void flush();
  void append(std::string_view bytes);

  bool tty_out_;
  bool tty_in_;
  bool colors_;
  bool escapes_ = true;  // colours and clearing as escape sequences, not platform calls
  TerminalOptions options_;
  TokenReader reader_;
  std::unique_ptr<platform::Transcoder> to_console_;  // set when the console speaks GBK
  std::unique_ptr<platform::Transcoder> from_console_;
  std::string out_;
  bool failed_ = false;
  bool finished_ = false;
};

}  // namespace morvane
