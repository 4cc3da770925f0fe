#include "console/terminal.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "console/errors.hpp"
#include "console/keys.hpp"
#include "console/palette.hpp"
#include "console/visible_text.hpp"

namespace morvane {
namespace {

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

Output standard_output() {
  return {[](std::string_view bytes) { return platform::write_stdout(bytes.data(), bytes.size()); },
          platform::stdout_is_terminal()};
}

}  // namespace

bool colors_wanted(ColorChoice choice, bool stdout_tty, const char* no_color, bool dumb) {
  if (choice != ColorChoice::Auto) return choice == ColorChoice::Always;
  return stdout_tty && !dumb && (no_color == nullptr || *no_color == '\0');
}

bool gbk_wanted(EncodingChoice choice, std::string_view codeset) {
  if (choice != EncodingChoice::Auto) return choice == EncodingChoice::Gbk;
  for (std::string_view gbk : {"GBK", "GB2312", "GB18030", "CP936", "eucCN"}) {
    if (iequals(codeset, gbk)) return true;
  }
  return false;
}

TerminalConsole::TerminalConsole(const TerminalOptions& options, std::istream& in)
    : TerminalConsole(options, in, standard_output(), true) {}

TerminalConsole::TerminalConsole(const TerminalOptions& options, std::istream& in, Output output)
    : TerminalConsole(options, in, std::move(output), false) {}

TerminalConsole::TerminalConsole(const TerminalOptions& options, std::istream& in, Output output,
                                 bool own)
    : output_(std::move(output)),
      own_terminal_(own),
      tty_out_(output_.terminal),
      keys_(own && options.interactive && platform::stdin_is_terminal()),
      options_(options),
      speed_(options.speed),
      reader_(in) {
  const bool dumb = own && platform::dumb_terminal();
  colors_ = colors_wanted(options.color, tty_out_, std::getenv("NO_COLOR"), dumb);
  // A dumb terminal is not cleared either, unless colours were asked for all the same.
  clears_ = tty_out_ && !(dumb && options.color == ColorChoice::Auto);
  const std::string codeset =
      options.encoding == EncodingChoice::Auto ? platform::locale_codeset() : std::string{};
  if (gbk_wanted(options.encoding, codeset)) {
    to_console_ = platform::utf8_to_gbk();
    from_console_ = platform::gbk_to_utf8();
  }
  if (own_terminal_) {
    platform::setup(colors_, to_console_ != nullptr);
    escapes_ = platform::escape_sequences();
  }
}

TerminalConsole::~TerminalConsole() {
  try {
    finish();
  } catch (const OutputFailed&) {
    // Already on its way out: the failure that matters was reported, or is being.
  }
  if (own_terminal_) platform::restore();
}

void TerminalConsole::append(std::string_view bytes) {
  out_ += bytes;
  if (out_.size() >= kBlock) flush();
}

// The first failed write ends the game: nothing is written after it, nothing is tried again.
void TerminalConsole::flush() {
  if (out_.empty() || failed_) return;
  const int error = output_.write(out_);
  out_.clear();
  if (error != 0) {
    failed_ = true;
    throw OutputFailed(error);
  }
}

void TerminalConsole::color(int k) {
  if (!colors_ || k < 0 || k >= static_cast<int>(kPalette.size())) return;
  color_ = k;
  if (!escapes_) {
    flush();
    platform::set_color(k);
    return;
  }
  if (own_terminal_) platform::current_color(k);
  append(kPalette[static_cast<std::size_t>(k)]);
}

void TerminalConsole::write(std::string_view text) {
  if (!tty_out_) {
    // A pipe or a file gets the rules' bytes exactly.
    if (to_console_) {
      append(to_console_->convert(text));
    } else {
      append(text);
    }
    return;
  }
  // The rules write no control byte of their own (colours come through color()): any there is
  // came from a name.
  append(visible_on_terminal(text, to_console_.get()));
}

void TerminalConsole::write(std::int32_t number) {
  append(Decimal(number).text());
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
  if (!keys_) return;
  flush();
  platform::wait_key();
}

void TerminalConsole::clear() {
  if (!clears_) return;
  if (escapes_) {
    append("\x1b[2J\x1b[H");
  } else {
    flush();
    platform::clear_screen();
  }
}

void TerminalConsole::pause(int ms) {
  if (options_.no_pause || ms <= 0 || fast_forward_) return;
  flush();
  if (keys_ && in_battle_) {
    paced_pause(ms / speed_);
  } else {
    platform::sleep_ms(ms / speed_);
  }
}

void TerminalConsole::paced_pause(double ms) {
  using Clock = std::chrono::steady_clock;
  auto last = Clock::now();
  double left = ms;
  bool held = false;  // by p, until the next key
  std::string typed;
  while (held || left > 0) {
    typed.clear();
    const int timeout = held ? -1 : static_cast<int>(std::ceil(left));
    const bool keyboard = platform::read_keys(timeout, typed);
    const auto now = Clock::now();
    if (!held) left -= std::chrono::duration<double, std::milli>(now - last).count();
    last = now;
    if (!keyboard) {
      // No more keys will come: the pause as it would have been without them.
      platform::sleep_ms(left);
      return;
    }
    for (std::string_view rest = typed; !rest.empty();) {
      std::size_t n = keys::key_length(rest);
      if (n == 0) n = rest.size();
      const keys::Control control = keys::control_of(rest.substr(0, n));
      rest.remove_prefix(n);
      if (held) {
        held = false;  // the key that ends a pause does nothing else
        continue;
      }
      switch (control) {
        case keys::Control::FastForward:
          fast_forward_ = true;
          return;
        case keys::Control::Faster:
        case keys::Control::Slower: {
          const double factor = control == keys::Control::Faster ? 2 : 0.5;
          const double speed = std::clamp(speed_ * factor, kMinSpeed, kMaxSpeed);
          left *= speed_ / speed;  // what is left of this pause goes at the new pace too
          speed_ = speed;
          break;
        }
        case keys::Control::Pause:
          held = true;
          break;
        case keys::Control::None:
          break;
      }
    }
  }
}

void TerminalConsole::battle_begins() {
  in_battle_ = true;
  fast_forward_ = false;
  if (!keys_) return;
  flush();
  // Keys are read from here on: what is typed after the hint shows is typed during the battle.
  platform::keys_begin();
  if (tty_out_ && !hint_shown_ && !options_.no_pause) {
    hint_shown_ = true;
    const bool tint = colors_ && escapes_;
    if (tint) append(kPalette[7]);
    write(kKeysHint);
    if (tint) append(kPalette[static_cast<std::size_t>(color_)]);
    endl();
  }
}

void TerminalConsole::battle_ends() {
  if (keys_ && in_battle_) platform::keys_end();
  in_battle_ = false;
  fast_forward_ = false;
}

void TerminalConsole::finish(std::string_view note) {
  if (finished_) return;
  finished_ = true;
  // A console coloured by calls gets its own colours back from platform::restore().
  if (colors_ && escapes_) out_ += kPalette[0];
  // The game's last line has no line break of its own; on a terminal the prompt would follow
  // it on the same line.
  if (tty_out_) out_ += '\n';
  if (!note.empty()) {
    write(note);
    out_ += '\n';
  }
  flush();
}

}  // namespace morvane
