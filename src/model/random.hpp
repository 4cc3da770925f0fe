#pragma once
// The game's one source of chance: draws of 0 ... 32767.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

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

// The classic C library generator: state = state * 214013 + 2531011 (mod 2^32), and a draw is
// bits 16 ... 30 of the new state. A seed replays a whole game.
//
// A draw is a few instructions in line, with nothing virtual and no call: a batch run makes
// hundreds of millions of them, and a call that the compiler cannot see into (a virtual one, on
// any path of a draw) makes it read every value of the game afresh after each draw, which cost
// batch games a tenth of their speed. So the tests' own draws are a part of builds with the tests
// alone (MORVANE_LISTED_DRAWS, see follow()): what ships draws from the generator and from
// nothing else.
class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed) {}
  Random(const Random&) = delete;
  Random& operator=(const Random&) = delete;

  void srand(std::uint32_t seed) { state_ = seed; }
  // Where the generator stands: two sources that stand alike draw alike.
  std::uint32_t state() const { return state_; }

  // One draw of 0 ... 32767. `where` is the rule that asked for it: a test's list that has run
  // out names it.
  std::int32_t draw([[maybe_unused]] const Where& where = Where::here()) {
#ifdef MORVANE_LISTED_DRAWS
    if (list_ != nullptr) return listed(where);
#endif
    return next();
  }
  // The generator's next draw.
  std::int32_t next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<std::int32_t>((state_ >> 16) & 0x7FFFu);
  }

#ifdef MORVANE_LISTED_DRAWS

 protected:
  // From now on the draws are those of `list` (which the caller keeps, and may lengthen), in
  // order from its first; nullptr goes back to the generator. A draw past the list's end throws
  // NoDrawLeft.
  void follow(const std::vector<std::int32_t>* list) {
    list_ = list;
    taken_ = 0;
  }
  // How many draws of the list followed have been taken.
  std::size_t taken() const {
    return taken_;
  }

 private:
  std::int32_t listed(const Where& where);

  const std::vector<std::int32_t>* list_ = nullptr;
  std::size_t taken_ = 0;
#endif

 private:
  std::uint32_t state_;
};

// The classic generator alone: what every game plays with.
using Lcg = Random;

#ifdef MORVANE_LISTED_DRAWS
// A test's list of draws ran out: the draw that found none, and the rule that asked for it.
class NoDrawLeft : public std::logic_error {
 public:
  NoDrawLeft(const Where& where, std::size_t draw);
};
#endif

}  // namespace morvane
