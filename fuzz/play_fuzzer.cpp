// Plays a whole game from arbitrary bytes: the last four choose the seed, the rest is what the
// player types. A round cap ends battles no one can win.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "console/quiet_console.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "modes/modes.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace morvane;
  FuzzedDataProvider provider(data, size);
  const auto seed = provider.ConsumeIntegral<std::uint32_t>();
  std::istringstream typed(provider.ConsumeRemainingBytesAsString());
  QuietConsole console(typed);
  Lcg random(seed);
  auto g = std::make_unique<Game>(console, random);
  g->max_rounds = 300;
  play(*g);
  return 0;
}
