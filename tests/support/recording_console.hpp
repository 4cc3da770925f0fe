#pragma once
// A console that keeps a transcript: text as written, "\n" for each line end, and markers for
// the rest: [c4] colour, [p700] pause, [key] key wait, [cls] clear screen.

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/token_reader.hpp"

namespace morvane::testing {

class RecordingConsole : public Console {
 public:
  explicit RecordingConsole(std::string input = {}, TokenLimits limits = {})
      : input_(std::move(input)), reader_(input_, limits) {}

  void color(int k) override {
    if (show_colors) text_ += "[c" + std::to_string(k) + "]";
  }
  void write(std::string_view text) override { text_ += text; }
  void write(std::int32_t number) override { text_ += std::to_string(number); }
  void endl() override { text_ += '\n'; }
  std::int32_t read_number() override { return reader_.number(); }
  std::string read_word() override { return reader_.word(); }
  void wait_key() override { text_ += "[key]"; }
  void clear() override { text_ += "[cls]"; }
  void pause(int ms) override {
    total_pause += ms;
    if (show_pauses) text_ += "[p" + std::to_string(ms) + "]";
  }

  const std::string& transcript() const { return text_; }
  void forget() { text_.clear(); }

  bool show_colors = false;
  bool show_pauses = false;
  long total_pause = 0;

 private:
  std::istringstream input_;
  TokenReader reader_;
  std::string text_;
};

}  // namespace morvane::testing
