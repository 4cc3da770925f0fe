// Replay codes as anyone may hand them over, checked and shown as the terminal and the page do:
// arbitrary text in which a code is looked for, and arbitrary fights behind a right check (which
// random text almost never passes). Whatever the input, the check ends within its byte budget
// (a check that did not would run into the fuzzer's timeout), a fight it takes replays to its end,
// and a fight shown unchecked narrates no more than the budget.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "replay/bytes.hpp"
#include "replay/replay_code.hpp"
#include "session/session.hpp"

namespace {

using namespace morvane;

// Far below the game's own budget, so the fuzzer keeps its pace; the rule is the same.
constexpr std::uint64_t kBudget = 256 << 10;

// Counts what reaches the screen: a pipe's bytes.
class Screen final : public Console {
 public:
  void color(int) override {}
  void write(std::string_view text) override { bytes += text.size(); }
  void write(std::int32_t number) override { bytes += Decimal(number).text().size(); }
  void endl() override { ++bytes; }
  std::int32_t read_number() override { std::abort(); }  // a replay asks the player nothing
  std::string read_word() override { std::abort(); }
  void wait_key() override {}
  void clear() override {}
  void pause(int) override {}

  std::uint64_t bytes = 0;
};

void check_and_show(std::string_view text) {
  const session::Loaded loaded = session::load(text, kBudget);
  if (loaded.fight.has_value() == !loaded.message.empty()) std::abort();
  if (loaded.fight) {
    Screen screen;
    if (!session::replay(screen, *loaded.fight, nullptr, kBudget)) std::abort();
    if (screen.bytes > kBudget) std::abort();
  }
  // Shown without a check, as a careless front end might: still within the budget.
  const replay::DecodeResult read = replay::decode(text);
  if (!read.fight) return;
  Screen screen;
  const bool whole = session::replay(screen, *read.fight, nullptr, kBudget);
  if (screen.bytes > kBudget || (loaded.fight && !whole)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  check_and_show(bytes);
  std::string payload(bytes);
  const std::uint32_t check = replay::crc32(payload);
  for (int shift = 0; shift < 32; shift += 8)
    payload += static_cast<char>((check >> shift) & 0xFFu);
  check_and_show("MV1-" + replay::base64url_encode(payload));
  return 0;
}
