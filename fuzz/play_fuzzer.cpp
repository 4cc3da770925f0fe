// Plays a whole game from arbitrary bytes: the last four choose the seed, the rest is what the
// player types. A round cap ends battles no one can win, and a budget of lines ends a game that
// goes on for long (an endless run whose fighter never falls) so that the fuzzer keeps its pace.
// The game is recorded as a terminal records it, and a game that has a code must replay from
// it: the code is read back, checked against these rules by playing it again, and must give
// back the same fight.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "console/errors.hpp"
#include "console/quiet_console.hpp"
#include "fuzz_target.hpp"
#include "session/session.hpp"

namespace {

using namespace morvane;

struct Enough {};

// A quiet console that ends the game after so many lines.
class Budget final : public Console {
 public:
  explicit Budget(std::istream& in) : quiet_(in) {}
  void color(int) override {}
  void write(std::string_view) override {}
  void write(std::int32_t) override {}
  void endl() override {
    if (++lines_ > 20000) throw Enough{};
  }
  std::int32_t read_number() override { return quiet_.read_number(); }
  std::string read_word() override { return quiet_.read_word(); }
  void wait_key() override {}
  void clear() override {}
  void pause(int) override {}

 private:
  QuietConsole quiet_;
  int lines_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const auto seed = provider.ConsumeIntegral<std::uint32_t>();
  std::istringstream typed(provider.ConsumeRemainingBytesAsString());
  Budget console(typed);
  session::Recorded recorded;
  try {
    recorded = session::play_recorded(console, seed, 300);
  } catch (const InputTooLarge&) {
    return 0;  // a refusal, as the terminal gives it
  } catch (const Enough&) {
    return 0;
  }
  if (recorded.code.empty()) return 0;
  const session::Loaded loaded = session::load(recorded.code);
  if (!loaded.fight || *loaded.fight != recorded.fight) std::abort();
  return 0;
}
