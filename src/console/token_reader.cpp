#include "console/token_reader.hpp"

#include "console/errors.hpp"

namespace morvane {
namespace {

using Traits = std::streambuf::traits_type;

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The digits of a 32-bit value, leading zeros aside.
constexpr int kMaxDigits = 10;

}  // namespace

bool TokenReader::skip_blanks() {
  std::streambuf* buf = in_.rdbuf();
  if (buf == nullptr) return false;
  int c = buf->sgetc();
  while (c != Traits::eof() && is_space(c))
    c = buf->snextc();
  return c != Traits::eof();
}

void TokenReader::refuse(std::string_view what, std::size_t limit) const {
  throw InputTooLarge(std::string(what) + "最多" + std::to_string(limit) + "字节");
}

std::int32_t TokenReader::number() {
  while (skip_blanks()) {
    std::streambuf* buf = in_.rdbuf();
    // The token is read a byte at a time and only its value is kept: "0000000005" is 5, and a
    // token with more significant digits than any 32-bit value is junk however it goes on.
    bool negative = false;
    bool junk = false;
    int digits = 0;  // significant ones
    bool any_digit = false;
    std::int64_t value = 0;
    std::size_t length = 0;
    for (int c = buf->sgetc(); c != Traits::eof() && !is_space(c); c = buf->snextc()) {
      if (++length > limits_.token_bytes)
        refuse("输入太长：需要数字的地方，一段不含空白的输入", limits_.token_bytes);
      if (junk) continue;
      if (length == 1 && (c == '+' || c == '-')) {
        negative = c == '-';
      } else if (c >= '0' && c <= '9') {
        any_digit = true;
        if (value == 0 && c == '0') continue;
        if (++digits > kMaxDigits) {
          junk = true;
          continue;
        }
        value = value * 10 + (c - '0');
      } else {
        junk = true;
      }
    }
    if (junk || !any_digit) continue;
    if (negative) value = -value;
    if (value >= INT32_MIN && value <= INT32_MAX) return static_cast<std::int32_t>(value);
  }
  return 0;
}

std::string TokenReader::word() {
  if (!skip_blanks()) return {};
  std::streambuf* buf = in_.rdbuf();
  std::string line;
  std::size_t names = 1;        // the name being read is this one of the line
  std::size_t name_length = 0;  // its bytes so far
  bool dropping = false;
  for (int c = buf->sgetc(); c != Traits::eof() && !is_space(c); c = buf->snextc()) {
    if (dropping) continue;
    if (c == '/') {
      line += '/';
      if (names == limits_.names_per_line) dropping = true;
      ++names;
      name_length = 0;
      continue;
    }
    if (++name_length > limits_.token_bytes) refuse("名字太长：一个名字", limits_.token_bytes);
    if (name_bytes_ + line.size() >= limits_.name_bytes)
      refuse("名字太多：所有队伍的名字加起来", limits_.name_bytes);
    line += Traits::to_char_type(c);
  }
  name_bytes_ += line.size();
  return line;
}

}  // namespace morvane
