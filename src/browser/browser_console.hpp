#pragma once
// The console of the web page: the narration goes to the page, pauses and reads wait without
// blocking it (the rules are suspended through Asyncify while the page runs), and the player's
// lines are cut into tokens by the same TokenReader as the terminal's.
//
// The page side is the object `Module.page` of the JavaScript module (web/page.js).

#include <cstdint>
#include <istream>
#include <streambuf>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/token_reader.hpp"

namespace morvane {

// The narration as the page receives it: UTF-8 text, '\n' at each line end, and after the escape
// byte 0x01 one of: a digit 0 ... 7 (the colour of the text that follows), 'C' (clear the view)
// or 0x01 itself (a literal 0x01 in a name).
namespace page_stream {
constexpr char kEscape = '\x01';
constexpr char kClear = 'C';
}  // namespace page_stream

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
  Lines lines_{*this};
  std::istream in_{&lines_};
  TokenReader reader_{in_};
};

}  // namespace morvane
