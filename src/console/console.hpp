#pragma once
// Everything the game says and hears goes through a Console: the rules never touch the
// terminal, the clock or the keyboard themselves.

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane {

// A number as Console::write shows it, in plain decimal, without allocating.
class Decimal {
 public:
  explicit Decimal(std::int32_t number)
      : end_(std::to_chars(digits_.data(), digits_.data() + digits_.size(), number).ptr) {}
  std::string_view text() const {
    return {digits_.data(), static_cast<std::size_t>(end_ - digits_.data())};
  }

 private:
  std::array<char, 12> digits_{};  // "-2147483648" is the longest
  const char* end_;
};

class Console {
 public:
  virtual ~Console() = default;
  // Palette colour 0 ... 7 (0 is the normal colour); any other k changes nothing.
  virtual void color(int k) = 0;
  // One piece of a line; a number is written in plain decimal.
  virtual void write(std::string_view text) = 0;
  virtual void write(std::int32_t number) = 0;
  // Ends the line.
  virtual void endl() = 0;
  // The next whitespace-delimited number; junk tokens are skipped, 0 at the end of input.
  virtual std::int32_t read_number() = 0;
  // The next whitespace-delimited word; empty at the end of input.
  virtual std::string read_word() = 0;
  // One key press, not echoed.
  virtual void wait_key() = 0;
  virtual void clear() = 0;
  // The narration's pacing, in milliseconds.
  virtual void pause(int ms) = 0;
  // Told by the round driver as a battle starts and as it ends, so a front end can tell a
  // fight's narration from the set-up around it (the page offers to skip to a fight's end).
  virtual void battle_begins() {}
  virtual void battle_ends() {}
  // Whether the player has asked to see the current battle's end at once: what is there only
  // to be watched (the live odds) can be left out until it ends.
  virtual bool hurrying() const { return false; }
};

}  // namespace morvane
