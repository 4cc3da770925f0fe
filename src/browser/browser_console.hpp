#pragma once
// The console of the web page: the narration goes to the page, pauses and reads wait without
// blocking it (the rules are suspended through Asyncify while the page runs), and the player's
// lines are cut into tokens by the same TokenReader as the terminal's.
//
// The page side is the object `Module.page` of the JavaScript module (web/page.js).

#include <cstdint>
#include <functional>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>
#include <utility>

#include "console/console.hpp"
#include "console/token_reader.hpp"

namespace morvane {

// The narration as the page receives it: UTF-8 text, '\n' at each line end, and after the escape
// byte 0x01 one of: a digit 0 ... 7 (the colour of the text that follows), 'C' (clear the view),
// 'I' and 'i' around a piece to show apart from its line (a name with right-to-left letters or
// direction controls, which must not move the text around it) or 0x01 itself (a literal 0x01 in
// a name).
namespace page_stream {
constexpr char kEscape = '\x01';
constexpr char kClear = 'C';
constexpr char kIsolate = 'I';
constexpr char kIsolateEnd = 'i';
}  // namespace page_stream

// Whether a piece of UTF-8 text holds a right-to-left letter, a direction control or a line
// separator: anything that could reorder or break the text around it.
bool moves_its_neighbours(std::string_view text);

class BrowserConsole final : public Console {
 public:
  BrowserConsole();
  ~BrowserConsole() override;
  BrowserConsole(const BrowserConsole&) = delete;
  BrowserConsole& operator=(const BrowserConsole&) = delete;

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
  bool hurrying() const override;

  // Hands the page what is still held back.
  void flush();
  // Called right after each hand-over, so that what the page draws beside the narration (the
  // board) is taken as it stands at the narration's last line, never ahead of it.
  void after_show(std::function<void()> shown) { shown_ = std::move(shown); }

 private:
  // The player's lines as one stream: when it runs dry, it waits for the page's next line.
  class Lines final : public std::streambuf {
   public:
    explicit Lines(BrowserConsole& console) : console_(console) {}

   protected:
    int_type underflow() override;

   private:
    BrowserConsole& console_;
    std::string line_;
  };

  void show_pending_color();

  std::string out_;        // narration not yet handed to the page
  int color_ = 0;          // the colour last set by the rules
  int shown_color_ = 0;    // the colour the page will paint the next text in
  double last_yield_ = 0;  // when the page last had the thread, in milliseconds
  std::function<void()> shown_;
  Lines lines_{*this};
  std::istream in_{&lines_};
  TokenReader reader_{in_};
};

}  // namespace morvane
