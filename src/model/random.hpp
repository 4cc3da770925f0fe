#pragma once
// The game's one source of chance: draws of 0 ... 32767.

#include <cstdint>

namespace morvane {

// The rule that asked for a draw: its file, line and function. (std::source_location would do,
// but not every compiler we build with has it.)
struct Where {
  const char* file;
  unsigned line;
  const char* function;

  static constexpr Where here(const char* file = __builtin_FILE(), unsigned line = __builtin_LINE(),
                              const char* function = __builtin_FUNCTION()) {
    return {file, line, function};
  }
};

class Lcg;

class Random {
 public:
  virtual ~Random() = default;
  // The classic generator behind this source, if that is all it is: a game draws from it
  // without a virtual call (a batch run makes hundreds of millions of draws).
  virtual Lcg* plain_lcg() { return nullptr; }
  // One draw of 0 ... 32767. `where` is the rule that asked for it; tests that script the draws
  // use it to point at a missing or extra draw.
  virtual std::int32_t draw(const Where& where) = 0;
};

// The classic C library generator: state = state * 214013 + 2531011 (mod 2^32), and a draw is
// bits 16 ... 30 of the new state. A seed replays a whole game.
class Lcg final : public Random {
 public:
  explicit Lcg(std::uint32_t seed) : state_(seed) {}
  void srand(std::uint32_t seed) { state_ = seed; }
  std::int32_t next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
  }
  std::int32_t draw(const Where&) override { return next(); }
  Lcg* plain_lcg() override { return this; }

 private:
  std::uint32_t state_;
};

}  // namespace morvane
