#pragma once
// A console that shows nothing and never waits: for batch runs and fuzzing. It reads the
// player's tokens from a stream, if it has one.

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "console/console.hpp"
#include "console/token_reader.hpp"

namespace morvane {

class QuietConsole final : public Console {
 public:
  QuietConsole() = default;
  explicit QuietConsole(std::istream& in) : reader_(in) {}

  void color(int) override {}
  void write(std::string_view) override {}
  void write(std::int32_t) override {}
  void endl() override {}
  std::int32_t read_number() override { return reader_ ? reader_->number() : 0; }
  std::string read_word() override { return reader_ ? reader_->word() : std::string{}; }
  void wait_key() override {}
  void clear() override {}
  void pause(int) override {}

 private:
  std::optional<TokenReader> reader_;
};

}  // namespace morvane
