#include "browser/browser_console.hpp"

#include <emscripten.h>

namespace morvane {
namespace {

// The page's side of each operation, in web/page.js. The asynchronous ones suspend the rules
// until the page's promise settles.

EM_JS(void, page_show, (const char* text, int size),
      { Module.page.show(new TextDecoder().decode(HEAPU8.subarray(text, text + size))); });
// How long a pause of `ms` lasts at the page's pace: 0 at instant speed or while skipping.
EM_JS(int, page_delay, (int ms), { return Module.page.delay(ms); });
EM_ASYNC_JS(void, page_sleep, (int ms), { await Module.page.sleep(ms); });
// Gives the page the thread for a moment, so that it can draw and take clicks.
EM_ASYNC_JS(void, page_yield, (), { await Module.page.yieldToPage(); });
// Waits for the player's next line and returns its size in UTF-8 bytes; page_take_line copies it.
EM_ASYNC_JS(int, page_read_line, (), {
  const line = await Module.page.readLine();
  Module.page.lineBytes = new TextEncoder().encode(line);
  return Module.page.lineBytes.length;
});
EM_JS(void, page_take_line, (char* into), {
  HEAPU8.set(Module.page.lineBytes, into);
  Module.page.lineBytes = null;
});
EM_ASYNC_JS(void, page_wait_key, (), { await Module.page.waitKey(); });
EM_JS(void, page_battle, (int on), { Module.page.battle(on != 0); });
EM_JS(int, page_skipping, (), { return Module.page.skipping() ? 1 : 0; });

// Beyond this much narration the page gets what is there, so that memory stays small.
constexpr std::size_t kMaxHeld = 1 << 20;
// At instant speed the rules hand the thread back this often, in milliseconds (at a pause or a
// line's end): the page keeps drawing and answering clicks, and a fight costs only a few percent
// more.
constexpr double kYieldEvery = 15.0;

// Right-to-left letters (Hebrew, Arabic, Syriac, Thaana, N'Ko, their presentation forms, and
// the right-to-left scripts beyond the first plane), the direction marks, the line and paragraph
// separators, the embeddings and overrides, and the isolates.
bool right_to_left_or_control(std::uint32_t c) {
  constexpr std::uint32_t kRanges[][2] = {
      {0x0590, 0x08FF},   {0xFB1D, 0xFDFF}, {0xFE70, 0xFEFF}, {0x10800, 0x10FFF},
      {0x1E800, 0x1EFFF}, {0x200E, 0x200F}, {0x2028, 0x202E}, {0x2066, 0x2069},
  };
  for (const auto& [first, last] : kRanges) {
    if (c >= first && c <= last) return true;
  }
  return false;
}

}  // namespace

bool moves_its_neighbours(std::string_view text) {
  for (std::size_t k = 0; k < text.size(); ++k) {
    const auto lead = static_cast<unsigned char>(text[k]);
    if (lead < 0xC0) continue;  // ASCII, or a byte inside a character
    const std::size_t size = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    if (k + size > text.size()) break;
    std::uint32_t c = lead & (0x7Fu >> size);
    for (std::size_t i = 1; i < size; ++i)
      c = (c << 6) | (static_cast<unsigned char>(text[k + i]) & 0x3Fu);
    if (right_to_left_or_control(c)) return true;
    k += size - 1;
  }
  return false;
}

BrowserConsole::BrowserConsole() : last_yield_(emscripten_get_now()) {}

BrowserConsole::~BrowserConsole() {
  flush();
}

void BrowserConsole::flush() {
  if (out_.empty()) return;
  page_show(out_.data(), static_cast<int>(out_.size()));
  out_.clear();
  if (shown_) shown_();
}

void BrowserConsole::color(int k) {
  if (k >= 0 && k <= 7) color_ = k;
}

// A colour change the page sees only when text follows it, as on a terminal.
void BrowserConsole::show_pending_color() {
  if (color_ == shown_color_) return;
  out_ += page_stream::kEscape;
  out_ += static_cast<char>('0' + color_);
  shown_color_ = color_;
}

void BrowserConsole::write(std::string_view text) {
  if (text.empty()) return;
  show_pending_color();
  const bool isolate = moves_its_neighbours(text);
  if (isolate) {
    out_ += page_stream::kEscape;
    out_ += page_stream::kIsolate;
  }
  for (const char c : text) {
    if (c == page_stream::kEscape) out_ += page_stream::kEscape;
    out_ += c;
  }
  if (isolate) {
    out_ += page_stream::kEscape;
    out_ += page_stream::kIsolateEnd;
  }
  if (out_.size() >= kMaxHeld) flush();
}

void BrowserConsole::write(std::int32_t number) {
  write(Decimal(number).text());
}

void BrowserConsole::endl() {
  out_ += '\n';
  // Long stretches without a pause (the table of a thousand fighters) give the thread back at a
  // line's end too. What is held is not shown yet: the page draws, and the board moves, only at
  // the pauses, where the narration stands still.
  if (emscripten_get_now() - last_yield_ >= kYieldEvery) {
    page_yield();
    last_yield_ = emscripten_get_now();
  }
}

std::int32_t BrowserConsole::read_number() {
  return reader_.number();
}

std::string BrowserConsole::read_word() {
  return reader_.word();
}

BrowserConsole::Lines::int_type BrowserConsole::Lines::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  // The page has no end of input: the game waits for the player as long as it takes.
  console_.flush();
  const int size = page_read_line();
  line_.assign(static_cast<std::size_t>(size), '\0');
  page_take_line(line_.data());
  // The page's input holds one line; its end separates the last token from the next line's.
  line_ += '\n';
  setg(line_.data(), line_.data(), line_.data() + line_.size());
  console_.last_yield_ = emscripten_get_now();
  return traits_type::to_int_type(*gptr());
}

void BrowserConsole::wait_key() {
  flush();
  page_wait_key();
  last_yield_ = emscripten_get_now();
}

void BrowserConsole::clear() {
  out_ += page_stream::kEscape;
  out_ += page_stream::kClear;
}

void BrowserConsole::pause(int ms) {
  if (ms <= 0) return;
  const int delay = page_delay(ms);
  if (delay > 0) {
    flush();
    page_sleep(delay);
  } else if (emscripten_get_now() - last_yield_ >= kYieldEvery) {
    flush();
    page_yield();
  } else {
    return;
  }
  last_yield_ = emscripten_get_now();
}

void BrowserConsole::battle_begins() {
  page_battle(1);
}

void BrowserConsole::battle_ends() {
  page_battle(0);
}

bool BrowserConsole::hurrying() const {
  return page_skipping() != 0;
}

}  // namespace morvane
