// The terminal console's output path from arbitrary calls: colours, text, numbers, line ends,
// clears, battles, reads and the last note, in UTF-8 or GBK, to a terminal or a file, written
// to memory, and with a write that fails. In UTF-8 the bytes must be those of a plain model of
// the console; the first failed write must end the game, with nothing written or tried after.
// On a terminal, in either encoding, no control byte is written but the console's own.

#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console/errors.hpp"
#include "console/unicode.hpp"
#include "fuzz_target.hpp"
#include "terminal/palette.hpp"
#include "terminal/terminal.hpp"
#include "terminal/visible_text.hpp"

namespace {

using namespace morvane;

struct Memory {
  std::string bytes;
  int writes_left = -1;  // writes before the failing one; negative: none fails
  int attempts_after_failure = 0;
  bool failed = false;
};

// Whether `bytes` hold a control byte, or a C1 control, other than the console's own colours,
// clearing, tabs and line ends.
bool commands_terminal(std::string_view bytes, bool gbk) {
  constexpr std::string_view kClear = "\x1b[2J\x1b[H";
  while (!bytes.empty()) {
    const auto c = static_cast<unsigned char>(bytes[0]);
    if (c == 0x1b) {
      std::size_t own = bytes.starts_with(kClear) ? kClear.size() : 0;
      for (const Palette* palette : {&kPalette, &kDarkPalette}) {
        for (const std::string_view color : *palette)
          if (own == 0 && bytes.starts_with(color)) own = color.size();
      }
      if (own == 0) return true;
      bytes.remove_prefix(own);
      continue;
    }
    if ((c < 0x20 && c != '\t' && c != '\n') || c == 0x7F) return true;
    std::size_t length = 1;
    if (gbk && c > 0x80) {
      // A lead byte and its trail, or a byte no terminal may take alone (0x80 is the euro sign).
      const auto trail = bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) : 0u;
      if (c == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) return true;
      length = 2;
    } else if (!gbk && c >= 0x80) {
      const unicode::Decoded d = unicode::decode_utf8(bytes);
      if (d.length == 0 || d.cp < 0xA0) return true;
      length = d.length;
    }
    bytes.remove_prefix(length);
  }
  return false;
}

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
  // A terminal gets the palette for a dark background (it says nothing of its own), a file the
  // rules' colours.
  const Palette& palette = terminal ? kDarkPalette : kPalette;

  std::string model;       // what a UTF-8 console writes
  bool line_start = true;  // the last line was ended: a terminal's last words need no line end
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
          if (colors && k >= 0 && k < 8) model += palette[static_cast<std::size_t>(k)];
          call([&] { console.color(k); });
          break;
        }
        case 1: {
          const std::string text = provider.ConsumeRandomLengthString(200);
          model += terminal ? visible_utf8(text) : text;
          if (!text.empty()) line_start = text.back() == '\n';
          call([&] { console.write(text); });
          break;
        }
        case 2: {
          const auto number = provider.ConsumeIntegral<std::int32_t>();
          model += std::to_string(number);
          line_start = false;
          call([&] { console.write(number); });
          break;
        }
        case 3:
          model += '\n';
          line_start = true;
          call([&] { console.endl(); });
          break;
        case 4:
          if (terminal) model += "\x1b[2J\x1b[H";
          line_start = line_start || terminal;
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
          if (colors) model += palette[0];
          if (terminal && !line_start) model += '\n';
          if (!note.empty()) model += (terminal ? visible_utf8(note) : note) + "\n";
          call([&] { console.finish(note); });
          finished = true;
          break;
        }
      }
    }
  }  // finished on the way out, if it was not before
  if (!finished) {
    if (colors) model += palette[0];
    if (terminal && !line_start) model += '\n';
  }
  if (memory.attempts_after_failure != 0) std::abort();
  if (terminal && commands_terminal(memory.bytes, gbk)) std::abort();
  if (gbk) return 0;
  // Everything, or what came before the failed write.
  if (memory.failed ? model.compare(0, memory.bytes.size(), memory.bytes) != 0
                    : memory.bytes != model)
    std::abort();
  return 0;
}
