#pragma once
// A console that passes every call on to another. Consoles that look at a few calls on their way
// (recording answers, playing them back, hashing the narration, counting lines) override those
// and leave the rest to it.

#include <cstdint>
#include <string>
#include <string_view>

#include "console/console.hpp"

namespace morvane {

class PassingConsole : public Console {
 public:
  explicit PassingConsole(Console& inner) : inner_(inner) {}

  void color(int k) override { inner_.color(k); }
  void write(std::string_view text) override { inner_.write(text); }
  void write(std::int32_t number) override { inner_.write(number); }
  void endl() override { inner_.endl(); }
  std::int32_t read_number() override { return inner_.read_number(); }
  std::string read_word() override { return inner_.read_word(); }
  void wait_key() override { inner_.wait_key(); }
  void clear() override { inner_.clear(); }
  void pause(int ms) override { inner_.pause(ms); }
  void battle_begins() override { inner_.battle_begins(); }
  void battle_ends() override { inner_.battle_ends(); }
  bool hurrying() const override { return inner_.hurrying(); }

 protected:
  Console& inner_;
};

}  // namespace morvane
