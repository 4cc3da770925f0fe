#pragma once
// The console a player sees: colours, pacing, key waits and the encodings of real terminals.

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/token_reader.hpp"
#include "terminal/keys.hpp"
#include "terminal/palette.hpp"
#include "terminal/platform.hpp"

namespace morvane {

enum class ColorChoice { Auto, Always, Never };
enum class EncodingChoice { Auto, Utf8, Gbk };
// The colours for the terminal's background: dark or light, or as the terminal tells (dark when
// it does not say). A pipe gets the rules' own colours unless a palette is asked for.
enum class PaletteChoice { Auto, Dark, Light };

// The pace's range: --speed and the + and - keys stay within it.
inline constexpr double kMinSpeed = 0.01;
inline constexpr double kMaxSpeed = 1000;

struct TerminalOptions {
  ColorChoice color = ColorChoice::Auto;
  EncodingChoice encoding = EncodingChoice::Auto;
  double speed = 1.0;  // every pause is divided by it
  bool no_pause = false;
  // Whether a player is at the keyboard: key waits, and the keys that pace a battle.
  bool interactive = true;
  // Whether the player answers prompts. A replay asks nothing: the keyboard is quiet (no echo)
  // from its start, and only pace it.
  bool prompts = true;
  PaletteChoice palette = PaletteChoice::Auto;
};

// The player pressed q during a battle: the game ends as Ctrl-C ends it.
struct QuitAsked {};

// Where the console's bytes go, and whether that is a terminal. `write` returns 0 when every
// byte was written, else the error number of the failure.
struct Output {
  std::function<int(std::string_view bytes)> write;
  bool terminal = false;
};

// Whether colours are written: the option wins; under auto, a terminal that NO_COLOR (set and
// non-empty) does not turn off and that is not a dumb one.
bool colors_wanted(ColorChoice choice, bool stdout_tty, const char* no_color, bool dumb);
// Whether text is GBK: the option wins; under auto, a locale whose codeset is a GBK family one.
bool gbk_wanted(EncodingChoice choice, std::string_view codeset);

// The line shown above the first battle on a terminal, where the keys pace it.
inline constexpr std::string_view kKeysHint =
    "（空格或回车：跳到本场战斗结束　+/-：加快/放慢　p：暂停　?：按键　q：退出）";
// Passing notes in grey below the narration, erased as it goes on: while paused, the keys (at
// ?), and the pace after + or - ("（速度×2）").
inline constexpr std::string_view kPausedNote = "（已暂停，按任意键继续）";
inline constexpr std::string_view kKeysNote =
    "（空格或回车：跳到本场战斗结束　+/-：加快/放慢　p：暂停　q：退出　按任意键继续）";
std::string speed_note(double speed);

class TerminalConsole final : public Console {
 public:
  // On the terminal: standard output, set up (and put back) as the game needs it.
  TerminalConsole(const TerminalOptions& options, std::istream& in);
  // Writing to `output` instead, e.g. memory; the terminal is left alone.
  TerminalConsole(const TerminalOptions& options, std::istream& in, Output output);
  ~TerminalConsole() override;
  TerminalConsole(const TerminalConsole&) = delete;
  TerminalConsole& operator=(const TerminalConsole&) = delete;

  // Writing throws OutputFailed when the output cannot be written: the game ends at once.
  void color(int k) override;
  void write(std::string_view text) override;
  void write(std::int32_t number) override;
  void endl() override;
  std::int32_t read_number() override;
  std::string read_word() override;
  void wait_key() override;
  void clear() override;
  void pause(int ms) override;
  void battle_begins() override;
  void battle_ends() override;
  bool hurrying() const override { return fast_forward_; }

  bool output_is_terminal() const { return tty_out_; }
  // Whether the text shown is converted to GBK (which has no block characters).
  bool speaks_gbk() const { return to_console_ != nullptr; }
  // The colours written: the rules' own, or a palette's.
  const Palette& palette() const { return *palette_; }
  // The line (UTF-8) shown on the terminal when Ctrl-C or another ending signal ends the game.
  void farewell(std::string_view line);

  // Resets the colour, ends the game's last line on a terminal, adds `note` (a line of the front
  // end's own, in UTF-8) when it is not empty, and writes out what is left. Throws OutputFailed.
  void finish(std::string_view note = {});

 private:
  TerminalConsole(const TerminalOptions& options, std::istream& in, Output output, bool own);
  void flush();
  void append(std::string_view bytes);
  // Text for the terminal in its encoding, controls shown.
  std::string shown(std::string_view utf8) const;
  const Palette& choose_palette(PaletteChoice choice) const;
  // A pause of `ms` while the keys pace the battle.
  void paced_pause(double ms);
  // Acts on one key of a battle. Returns whether the pause is over (the rest of the battle goes
  // without pauses).
  bool on_key(keys::Control control, bool& held, double& left);
  // A passing note (UTF-8) in grey below the narration, and its erasure.
  void show_note(std::string_view text);
  void take_note_away();

  Output output_;
  bool own_terminal_;  // the real terminal, set up by this console
  bool tty_out_;
  bool keys_;  // a player's keys pace the battles
  bool colors_;
  bool clears_;
  bool escapes_ = true;  // colours and clearing as escape sequences, not platform calls
  TerminalOptions options_;
  double speed_;
  TokenReader reader_;
  std::unique_ptr<platform::Transcoder> to_console_;  // set when the console speaks GBK
  std::unique_ptr<platform::Transcoder> from_console_;
  std::string out_;
  int color_ = 0;  // the colour last set
  bool in_battle_ = false;
  bool fast_forward_ = false;  // the rest of this battle without pauses
  bool hint_shown_ = false;
  bool failed_ = false;
  bool finished_ = false;
  const Palette* palette_ = &kPalette;
  bool notes_ = false;  // passing notes can be shown (a terminal that takes escapes)
  bool note_shown_ = false;
  bool at_line_start_ = true;  // what was written last ended a line
};

}  // namespace morvane
