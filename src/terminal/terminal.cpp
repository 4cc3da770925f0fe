#include "terminal/terminal.hpp"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "console/errors.hpp"
#include "console/unicode.hpp"
#include "terminal/keys.hpp"
#include "terminal/palette.hpp"
#include "terminal/visible_text.hpp"

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

// The rows a note takes on a terminal of `columns`: its East Asian characters (the notes' Chinese
// and their full-width punctuation) take two columns each, and one that does not fit at the end
// of a row goes whole to the next, as terminals wrap them.
int rows_of(std::string_view text, int columns) {
  int rows = 1;
  int column = 0;
  while (!text.empty()) {
    const unicode::Decoded d = unicode::decode_utf8(text);
    const char32_t c = d.cp;
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6);
    const int width = wide ? 2 : 1;
    if (column + width > columns) {
      ++rows;
      column = 0;
    }
    column += width;
    text.remove_prefix(std::max<std::size_t>(d.length, 1));
  }
  return rows;
}

// What the terminal is told to keep the cursor's place (ESC 7) and to go back to it and erase
// all after it (ESC 8, ESC [ J): a note shows below the narration and leaves nothing behind.
constexpr std::string_view kSaveCursor =
    "\x1b"
    "7";
constexpr std::string_view kBackAndErase =
    "\x1b"
    "8\x1b[J";

Output standard_output() {
  return {[](std::string_view bytes) { return platform::write_stdout(bytes.data(), bytes.size()); },
          platform::stdout_is_terminal()};
}

}  // namespace

bool colors_wanted(ColorChoice choice, bool stdout_tty, const char* no_color, bool dumb) {
  if (choice != ColorChoice::Auto) return choice == ColorChoice::Always;
  return stdout_tty && !dumb && (no_color == nullptr || *no_color == '\0');
}

std::string speed_note(double speed) {
  char number[32];
  std::snprintf(number, sizeof number, "%g", speed);
  return std::string("（速度×") + number + "）";
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
  palette_ = &choose_palette(options.palette);
  if (own_terminal_) platform::use_palette(*palette_);
  notes_ = tty_out_ && clears_ && escapes_;
  if (keys_ && !options.prompts) platform::keyboard_quiet();
}

const Palette& TerminalConsole::choose_palette(PaletteChoice choice) const {
  switch (choice) {
    case PaletteChoice::Dark:
      return kDarkPalette;
    case PaletteChoice::Light:
      return kLightPalette;
    case PaletteChoice::Auto:
      break;
  }
  // A pipe or a file gets the rules' own colours; a terminal those for its background.
  if (!tty_out_) return kPalette;
  if (!colors_ || !own_terminal_) return kDarkPalette;
  // Long enough for a terminal across a network; one that does not know the question answers
  // the one after it at once.
  constexpr int kAnswerMs = 300;
  return platform::light_background(kAnswerMs).value_or(false) ? kLightPalette : kDarkPalette;
}

void TerminalConsole::farewell(std::string_view line) {
  if (own_terminal_ && tty_out_) platform::set_farewell(shown(line));
}

std::string TerminalConsole::shown(std::string_view utf8) const {
  return visible_on_terminal(utf8, to_console_.get());
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
  if (note_shown_) take_note_away();
  out_ += bytes;
  if (out_.size() >= kBlock) flush();
}

// The first failed write ends the game: nothing is written after it, nothing is tried again.
void TerminalConsole::flush() {
  if (out_.empty() || failed_) return;
  const int error = output_.write(out_);
  out_.clear();
  if (own_terminal_ && tty_out_) platform::at_line_start(at_line_start_);
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
  append((*palette_)[static_cast<std::size_t>(k)]);
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
  if (!text.empty()) at_line_start_ = text.back() == '\n';
  append(shown(text));
}

void TerminalConsole::write(std::int32_t number) {
  at_line_start_ = false;
  append(Decimal(number).text());
}

void TerminalConsole::endl() {
  if (note_shown_) take_note_away();
  at_line_start_ = true;
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
  if (note_shown_) take_note_away();
  at_line_start_ = true;
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
  bool held = false;  // by p or ?, until the next key
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
      take_note_away();
      flush();
      platform::sleep_ms(left);
      return;
    }
    for (std::string_view rest = typed; !rest.empty();) {
      std::size_t n = keys::key_length(rest, speaks_gbk());
      if (n == 0) n = rest.size();
      const keys::Control control = keys::control_of(rest.substr(0, n));
      rest.remove_prefix(n);
      if (on_key(control, held, left)) return;
    }
  }
}

bool TerminalConsole::on_key(keys::Control control, bool& held, double& left) {
  if (control == keys::Control::Quit) {
    take_note_away();
    throw QuitAsked{};
  }
  if (held) {
    // The key that ends a pause does nothing else.
    held = false;
    take_note_away();
    flush();
    return false;
  }
  switch (control) {
    case keys::Control::FastForward:
      fast_forward_ = true;
      return true;
    case keys::Control::Faster:
    case keys::Control::Slower: {
      const double factor = control == keys::Control::Faster ? 2 : 0.5;
      const double speed = std::clamp(speed_ * factor, kMinSpeed, kMaxSpeed);
      left *= speed_ / speed;  // what is left of this pause goes at the new pace too
      speed_ = speed;
      show_note(speed_note(speed_));
      break;
    }
    case keys::Control::Pause:
      held = true;
      show_note(kPausedNote);
      break;
    case keys::Control::Help:
      held = true;
      show_note(kKeysNote);
      break;
    case keys::Control::Quit:
    case keys::Control::None:
      break;
  }
  return false;
}

void TerminalConsole::show_note(std::string_view text) {
  if (!notes_) return;
  take_note_away();
  const int terminal = own_terminal_ ? platform::terminal_columns() : 0;
  const int columns = terminal > 0 ? terminal : 80;
  // Room below the narration first, the cursor staying where it is (ESC D down, scrolling at
  // the bottom; ESC M up again), so that going back to it later finds the same place. One row
  // more than the note takes, for a terminal that counts a character wider than we do.
  const int room = rows_of(text, columns) + (at_line_start_ ? 0 : 1);
  for (int k = 0; k < room; ++k)
    out_ +=
        "\x1b"
        "D";
  for (int k = 0; k < room; ++k)
    out_ +=
        "\x1b"
        "M";
  out_ += kSaveCursor;
  if (!at_line_start_) out_ += '\n';
  if (colors_) out_ += (*palette_)[7];
  out_ += shown(text);
  if (colors_) out_ += (*palette_)[static_cast<std::size_t>(color_)];
  note_shown_ = true;
  if (own_terminal_) platform::note_shown(true);
  flush();
}

void TerminalConsole::take_note_away() {
  if (!note_shown_) return;
  note_shown_ = false;
  out_ += kBackAndErase;
  if (own_terminal_) platform::note_shown(false);
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
    if (tint) append((*palette_)[7]);
    write(kKeysHint);
    if (tint) append((*palette_)[static_cast<std::size_t>(color_)]);
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
  // From here on the game says its own last words.
  if (own_terminal_ && tty_out_) platform::set_farewell({});
  take_note_away();
  // A console coloured by calls gets its own colours back from platform::restore().
  if (colors_ && escapes_) out_ += (*palette_)[0];
  // The game's last line has no line break of its own; on a terminal the prompt would follow
  // it on the same line.
  if (tty_out_ && !at_line_start_) out_ += '\n';
  if (!note.empty()) {
    write(note);
    out_ += '\n';
  }
  at_line_start_ = true;
  flush();
}

}  // namespace morvane
