// Makes replay codes with the game's own encoder for the browser tests: forged ones too (any
// digest, any round cap), which a page must refuse without freezing.
//   node forge_code.js SEED MAX_ROUNDS DIGEST ANSWER...
// An answer is #N (a number), =TEXT (a line of names) or *COUNT=TEXT (TEXT repeated COUNT times).

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "replay/replay_code.hpp"

int main(int argc, char** argv) {
  using morvane::replay::Answer;
  if (argc < 4) {
    std::fputs("usage: forge_code SEED MAX_ROUNDS DIGEST ANSWER...\n", stderr);
    return 2;
  }
  morvane::replay::Fight fight;
  fight.seed = static_cast<std::uint32_t>(std::stoul(argv[1]));
  fight.max_rounds = std::stoll(argv[2]);
  fight.digest = static_cast<std::uint32_t>(std::stoul(argv[3]));
  for (int k = 4; k < argc; ++k) {
    const std::string_view given = argv[k];
    if (given.starts_with('#')) {
      fight.answers.push_back(Answer::of_number(std::stoi(std::string(given.substr(1)))));
    } else if (given.starts_with('*')) {
      const std::size_t equals = given.find('=');
      const std::size_t count = std::stoul(std::string(given.substr(1, equals - 1)));
      std::string text;
      for (std::size_t i = 0; i < count; ++i)
        text += given.substr(equals + 1);
      fight.answers.push_back(Answer::of_text(std::move(text)));
    } else {
      fight.answers.push_back(Answer::of_text(std::string(given.substr(1))));
    }
  }
  const std::string code = morvane::replay::encode(fight);
  if (code.empty()) {
    std::fputs("forge_code: too large for a code\n", stderr);
    return 1;
  }
  std::puts(code.c_str());
  return 0;
}
