#pragma once
// What the tests of the game on a pseudo-terminal share: the game's lines they wait for, and the
// player's moves.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "support/pty.hpp"
#include "terminal/terminal.hpp"

namespace morvane::testing {

inline const std::string kKeyWait = "请按下任意键继续。";
inline const std::string kMenuEnd = "4.(限时开放)与作者的战斗";
inline const std::string kEnd = "如果想再来请重新运行程序";
inline const std::string kHint(kKeysHint);
// Two teams of four: at the game's own pace the battle takes more than a minute.
inline const std::string kEighters = "1\n2\n甲/乙/丙/丁\n戊/己/庚/辛\n";

// Answers as typed at a terminal: each line ends with Enter.
inline std::string typed(std::string answers) {
  std::replace(answers.begin(), answers.end(), '\n', '\r');
  return answers;
}

// Passes the key wait with `key`, once the game reads keys.
inline void pass_key_wait(Pty& t, std::string_view key = "x") {
  ASSERT_TRUE(t.started());
  ASSERT_TRUE(t.read_until(kKeyWait));
  ASSERT_TRUE(t.becomes_raw()) << "the key wait reads a key, not a line";
  t.type(key);
  ASSERT_TRUE(t.read_until(kMenuEnd)) << ::testing::PrintToString(std::string(key));
}

// Waits for the battle's keys: the hint shown and the terminal reading keys one by one.
inline void wait_for_the_battle(Pty& t, std::size_t from = 0) {
  ASSERT_TRUE(t.read_until(kHint, from));
  ASSERT_TRUE(t.becomes_raw()) << "a battle reads keys";
}

// A piped game's narration from `first` up to and including `last`.
inline std::string between(const std::string& text, const std::string& first,
                           const std::string& last) {
  const std::size_t from = text.find(first);
  const std::size_t to = text.find(last, from);
  if (from == std::string::npos || to == std::string::npos) return "(not found)";
  return text.substr(from, to + last.size() - from);
}

inline std::string replaced(std::string text, const std::string& part, const std::string& by = "") {
  for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += by.size())
    text.replace(at, part.size(), by);
  return text;
}

}  // namespace morvane::testing
