#include "replay/answer_consoles.hpp"

#include <utility>

#include "console/quiet_console.hpp"

namespace morvane::replay {

void AnswerRecorder::keep(Answer answer) {
  if (too_large_) return;
  text_bytes_ += answer.text.size();
  if (answers_.size() == kMaxAnswers || text_bytes_ > kMaxPlainSize) {
    too_large_ = true;
    std::vector<Answer>().swap(answers_);
    return;
  }
  answers_.push_back(std::move(answer));
}

std::int32_t AnswerRecorder::read_number() {
  const std::int32_t number = inner_.read_number();
  keep(Answer::of_number(number));
  return number;
}

std::string AnswerRecorder::read_word() {
  std::string line = inner_.read_word();
  keep(Answer::of_text(line));
  return line;
}

std::int32_t AnswerPlayer::read_number() {
  if (next_ < answers_.size() && answers_[next_].is_number) return answers_[next_++].number;
  mismatched_ = true;
  if (next_ < answers_.size()) ++next_;
  return 0;
}

std::string AnswerPlayer::read_word() {
  if (next_ < answers_.size() && !answers_[next_].is_number) return answers_[next_++].text;
  mismatched_ = true;
  if (next_ < answers_.size()) ++next_;
  return {};
}

namespace {

// Where a digest standing alone passes the narration: nowhere. It reads as at the end of input.
Console& nowhere() {
  static QuietConsole quiet;
  return quiet;
}

}  // namespace

DigestConsole::DigestConsole() : PassingConsole(nowhere()) {}

// The stream hashed is the text's bytes as they are, and each other call as a 0 byte and a tag
// letter, followed for a colour or a pause by its value in decimal and ';'. A 0 byte in the
// text is doubled, so no text can pass for a call: two narrations hash alike only when they
// are the same, or by a one in four billion chance.
void DigestConsole::mix(std::string_view bytes) {
  for (char byte : bytes) {
    hash_ ^= static_cast<std::uint8_t>(byte);
    hash_ *= 16777619u;  // FNV's 32-bit prime
  }
}

void DigestConsole::event(char tag, std::string_view value) {
  const char head[2] = {'\0', tag};
  mix(std::string_view(head, 2));
  if (value.empty()) return;
  mix(value);
  mix(";");
}

void DigestConsole::write(std::string_view text) {
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t zero = text.find('\0', at);
    if (zero == std::string_view::npos) {
      mix(text.substr(at));
      break;
    }
    mix(text.substr(at, zero + 1 - at));
    mix(std::string_view("\0", 1));
    at = zero + 1;
  }
  PassingConsole::write(text);
}

void DigestConsole::write(std::int32_t number) {
  mix(std::to_string(number));
  PassingConsole::write(number);
}

void DigestConsole::color(int k) {
  event('c', std::to_string(k));
  PassingConsole::color(k);
}

void DigestConsole::endl() {
  event('n');
  PassingConsole::endl();
}

void DigestConsole::wait_key() {
  event('k');
  PassingConsole::wait_key();
}

void DigestConsole::clear() {
  event('x');
  PassingConsole::clear();
}

void DigestConsole::pause(int ms) {
  event('p', std::to_string(ms));
  PassingConsole::pause(ms);
}

}  // namespace morvane::replay
