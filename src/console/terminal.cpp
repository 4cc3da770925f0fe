#include "console/terminal.hpp"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdlib>

namespace morvane {
namespace {

// Bright colours on the terminal's own background; 0 is the terminal's normal colour.
constexpr std::array<std::string_view, 8> kPalette = {
    "\x1b[0m", "\x1b[96m", "\x1b[92m", "\x1b[95m", "\x1b[91m", "\x1b[94m", "\x1b[93m", "\x1b[90m",
};

// Output to a pipe or file is written in large blocks: the same bytes, far fewer writes.
constexpr std::size_t kBlock = 1 << 16;

bool iequals(std::string_view x, std::string_view y) {
  if (x.size() != y.size()) return false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(x[i])) !=
        std::tolower(static_cast<unsigned char>(y[i])))
      return false;
  }
  return true;
}

}  // namespace

bool colors_wanted(ColorChoice choice, bool stdout_tty, const char* no_color) {
  if (choice != ColorChoice::Auto) return choice == ColorChoice::Always;
  return stdout_tty && (no_color == nullptr || *no_color == '\0');
}

bool gbk_wanted(EncodingChoice choice, std::string_view codeset) {
  if (choice != EncodingChoice::Auto) return choice == EncodingChoice::Gbk;
  for (std::string_view gbk : {"GBK", "GB2312", "GB18030", "CP936", "eucCN"}) {
    if (iequals(codeset, gbk)) return true;
  }
  return false;
}

TerminalConsole::TerminalConsole(const TerminalOptions& options, std::istream& in)
    : tty_out_(platform::stdout_is_terminal()),
      tty_in_(platform::stdin_is_terminal()),
      colors_(colors_wanted(options.color, tty_out_, std::getenv("NO_COLOR"))),
      options_(options),
      reader_(in) {
  const std::string codeset =
      options.encoding == EncodingChoice::Auto ? platform::locale_codeset() : std::string{};
  if (gbk_wanted(options.encoding, codeset)) {
    to_console_ = platform::utf8_to_gbk();
    from_console_ = platform::gbk_to_utf8();
  }
  platform::setup(colors_, to_console_ != nullptr);
  escapes_ = platform::escape_sequences();
}

TerminalConsole::~TerminalConsole() {
  finish();
  platform::restore();
}

void TerminalConsole::append(std::string_view bytes) {
  out_ += bytes;
  if (out_.size() >= kBlock) flush();
}

void TerminalConsole::flush() {
  if (out_.empty()) return;
  if (!failed_ && !platform::write_stdout(out_.data(), out_.size())) failed_ = true;
  out_.clear();
}

void TerminalConsole::color(int k) {
  if (!colors_ || k < 0 || k >= static_cast<int>(kPalette.size())) return;
  if (escapes_) {
    append(kPalette[static_cast<std::size_t>(k)]);
  } else {
    flush();
    platform::set_color(k);
  }
}

void TerminalConsole::write(std::string_view text) {
  if (to_console_) {
    append(to_console_->convert(text));
  } else {
    append(text);
  }
}

void TerminalConsole::write(std::int32_t number) {
  std::array<char, 16> digits{};
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), number).ptr;
  append(std::string_view(digits.data(), static_cast<std::size_t>(end - digits.data())));
}

void TerminalConsole::endl() {
  out_ += '\n';
  if (tty_out_ || out_.size() >= kBlock) flush();
}

std::int32_t TerminalConsole::read_number() {
  flush();
  return reader_.number();
}

std::string TerminalConsole::read_word() {
  flush();
  std::string word = reader_.word();
  return from_console_ ? from_console_->convert(word) : word;
}

void TerminalConsole::wait_key() {
  // Piped input is left alone, so a whole game can come from a file.
  if (!tty_in_) return;
  flush();
  platform::wait_key();
}

void TerminalConsole::clear() {
  if (!tty_out_) return;
  if (escapes_) {
    append("\x1b[2J\x1b[H");
  } else {
    flush();
    platform::clear_screen();
  }
}

void TerminalConsole::pause(int ms) {
  if (options_.no_pause || ms <= 0) return;
  flush();
  platform::sleep_ms(ms / options_.speed);
}

bool TerminalConsole::finish() {
  if (!finished_) {
    finished_ = true;
    // A console coloured by calls gets its own colours back from platform::restore().
    if (colors_ && escapes_) out_ += kPalette[0];
    // The game's last line has no line break of its own; on a terminal the prompt would follow
    // it on the same line.
    if (tty_out_) out_ += '\n';
    flush();
  }
  return !failed_;
}

}  // namespace morvane
