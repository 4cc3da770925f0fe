// The terminal console's output path from arbitrary calls: colours, text, numbers, line ends,
// clears, battles, reads and the last note, in UTF-8 or GBK, to a terminal or a file, written
// to memory, and with a write that fails. In UTF-8 the bytes must be those of a plain model of
// the console; the first failed write must end the game, with nothing written or tried after.

#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console/errors.hpp"
#include "fuzz_target.hpp"
#include "terminal/palette.hpp"
#include "terminal/terminal.hpp"

namespace {

using namespace morvane;

struct Memory {
  std::string bytes;
  int writes_left = -1;  // writes before the failing one; negative: none fails
  int attempts_after_failure = 0;
  bool failed = false;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  TerminalOptions options;
  options.color = provider.ConsumeBool() ? ColorChoice::Always : ColorChoice::Never;
  const bool gbk = provider.ConsumeBool();
  options.encoding = gbk ? EncodingChoice::Gbk : EncodingChoice::Utf8;
  options.no_pause = true;
  options.interactive = false;
  const bool terminal = provider.ConsumeBool();
  Memory memory;
  if (provider.ConsumeBool()) memory.writes_left = provider.ConsumeIntegralInRange(0, 8);
  const Output output{[&memory](std::string_view bytes) {
                        if (memory.failed) ++memory.attempts_after_failure;
                        if (memory.writes_left == 0) {
                          memory.failed = true;
                          return ENOSPC;
                        }
                        if (memory.writes_left > 0) --memory.writes_left;
                        memory.bytes += bytes;
                        return 0;
                      },
                      terminal};
  std::istringstream in(provider.ConsumeRandomLengthString(64));
  const bool colors = options.color == ColorChoice::Always;

  std::string model;  // what a UTF-8 console writes
  bool thrown = false;
  bool finished = false;
  {
    TerminalConsole console(options, in, output);
    auto call = [&](auto&& act) {
      try {
        act();
      } catch (const OutputFailed& e) {
        if (thrown || !memory.failed || e.error() != ENOSPC) std::abort();
        thrown = true;
      }
    };
    while (!finished && provider.remaining_bytes() > 0) {
      switch (provider.ConsumeIntegralInRange(0, 9)) {
        case 0: {
          const int k = provider.ConsumeIntegralInRange(-2, 9);
          if (colors && k >= 0 && k < 8) model += kPalette[static_cast<std::size_t>(k)];
          call([&] { console.color(k); });
          break;
        }
        case 1: {
          const std::string text = provider.ConsumeRandomLengthString(200);
          model += text;
          call([&] { console.write(text); });
          break;
        }
        case 2: {
          const auto number = provider.ConsumeIntegral<std::int32_t>();
          model += std::to_string(number);
          call([&] { console.write(number); });
          break;
        }
        case 3:
          model += '\n';
          call([&] { console.endl(); });
          break;
        case 4:
          if (terminal) model += "\x1b[2J\x1b[H";
          call([&] { console.clear(); });
          break;
        case 5:
          call([&] { console.pause(provider.ConsumeIntegralInRange(0, 2000)); });
          break;
        case 6:
          call([&] { console.battle_begins(); });
          call([&] { console.battle_ends(); });
          break;
        case 7:
          call([&] { console.read_number(); });
          break;
        case 8:
          call([&] { console.read_word(); });
          break;
        default: {
          const std::string note = provider.ConsumeRandomLengthString(40);
          if (colors) model += kPalette[0];
          if (terminal) model += '\n';
          if (!note.empty()) model += note + "\n";
          call([&] { console.finish(note); });
          finished = true;
          break;
        }
      }
    }
  }  // finished on the way out, if it was not before
  if (!finished) {
    if (colors) model += kPalette[0];
    if (terminal) model += '\n';
  }
  if (memory.attempts_after_failure != 0) std::abort();
  if (gbk) return 0;
  // Everything, or what came before the failed write.
  if (memory.failed ? model.compare(0, memory.bytes.size(), memory.bytes) != 0
                    : memory.bytes != model)
    std::abort();
  return 0;
}
