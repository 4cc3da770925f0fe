#pragma once
// Consoles that make and check replay codes around the real one. Recording a game:
//   rules -> DigestConsole -> AnswerRecorder -> the player's console
// and replaying one (quietly to check its digest, or on a terminal to show it):
//   rules -> DigestConsole -> AnswerPlayer -> QuietConsole or the player's console
// The DigestConsole goes right under the rules in both: the AnswerPlayer swallows the key waits
// that the digest counts.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "console/console.hpp"
#include "console/passing_console.hpp"
#include "replay/replay_code.hpp"

namespace morvane::replay {

// Passes every call on and keeps each answer the inner console gave, in order. A game whose
// answers go past what a code can hold (kMaxAnswers, or kMaxPlainSize bytes of name lines) is
// too large for a code whatever comes next: from then on nothing is kept, so an endless input
// costs no memory.
class AnswerRecorder final : public PassingConsole {
 public:
  explicit AnswerRecorder(Console& inner) : PassingConsole(inner) {}

  std::int32_t read_number() override;
  std::string read_word() override;

  const std::vector<Answer>& answers() const { return answers_; }
  // Whether the answers went past what a code can hold (and were let go).
  bool too_large() const { return too_large_; }

 private:
  void keep(Answer answer);

  std::vector<Answer> answers_;
  std::size_t text_bytes_ = 0;
  bool too_large_ = false;
};

// Gives the rules a fight's answers in order and asks the player nothing: the inner console
// only shows. A read of the other kind than the answer recorded, or past the last one, gets
// 0 or "" (as at the end of input) and marks the replay as gone astray.
class AnswerPlayer final : public PassingConsole {
 public:
  AnswerPlayer(Console& inner, std::vector<Answer> answers)
      : PassingConsole(inner), answers_(std::move(answers)) {}

  std::int32_t read_number() override;
  std::string read_word() override;
  void wait_key() override {}

  // Whether a read did not match the answers.
  bool mismatched() const { return mismatched_; }
  // Whether every answer has been given (a faithful replay ends with none left).
  bool finished() const { return next_ == answers_.size(); }

 private:
  std::vector<Answer> answers_;
  std::size_t next_ = 0;
  bool mismatched_ = false;
};

// A 32-bit digest of everything the rules ask the console to do, except reads: text, numbers,
// line ends, colours, pauses as the rules ask for them, clears and key waits. It is taken
// before any front end turns the calls into bytes, so the terminal's encoding, colours on or
// off, the pace and the front end itself do not change it. The digest is of the narration as
// a player would see it: how a line is cut into write calls does not count, and a number
// counts as its decimal digits.
//
// The hash is 32-bit FNV-1a: it has only to tell another version's narration from this one's,
// not to stand up to someone forging codes (whoever can do that can as well type the answers),
// and it is a few lines that any front end can repeat byte for byte.
//
// It passes every call on to an inner console, or, standing alone, shows nothing and reads as
// at the end of input.
class DigestConsole final : public PassingConsole {
 public:
  DigestConsole();
  explicit DigestConsole(Console& inner) : PassingConsole(inner) {}

  void color(int k) override;
  void write(std::string_view text) override;
  void write(std::int32_t number) override;
  void endl() override;
  void wait_key() override;
  void clear() override;
  void pause(int ms) override;

  std::uint32_t digest() const { return hash_; }

 private:
  void mix(std::string_view bytes);
  void event(char tag, std::string_view value = {});

  std::uint32_t hash_ = 2166136261u;  // FNV-1a's offset basis
};

}  // namespace morvane::replay
