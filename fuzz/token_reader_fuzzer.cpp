// The player's tokens from arbitrary bytes, read with small bounds so that they are reached:
// each read must give what a plain reading of the same tokens gives, or refuse exactly when a
// token or the names go past their bounds. Every name line also goes through the encodings both
// ways, as a GBK terminal's input and output do.

#include <fuzzer/FuzzedDataProvider.h>

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/errors.hpp"
#include "console/token_reader.hpp"
#include "fuzz_target.hpp"
#include "terminal/platform.hpp"

namespace {

using namespace morvane;

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// A decimal integer with an optional sign that fits in 32 bits, or nothing: what the reader's
// number() must take, written plainly with from_chars.
std::optional<std::int32_t> parse_int32(std::string_view token) {
  const char* first = token.data();
  const char* last = first + token.size();
  // from_chars takes a '-' but not a '+'.
  const bool plus = first != last && *first == '+';
  if (plus) ++first;
  if (first == last || (plus && *first == '-')) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(first, last, value, 10);
  if (ec != std::errc{} || end != last) return std::nullopt;
  return value;
}

// The tokens as a plain split would give them.
std::vector<std::string> split(std::string_view text) {
  std::vector<std::string> tokens;
  std::string token;
  for (char c : text) {
    if (!is_space(c)) {
      token += c;
    } else if (!token.empty()) {
      tokens.push_back(token);
      token.clear();
    }
  }
  if (!token.empty()) tokens.push_back(token);
  return tokens;
}

// What word() keeps of a token, or nothing when it must refuse; `stored` counts the bytes of
// names kept so far.
bool expected_word(const std::string& token, const TokenLimits& limits, std::size_t& stored,
                   std::string& kept) {
  kept.clear();
  std::size_t names = 1, length = 0;
  for (char c : token) {
    if (c == '/') {
      kept += c;
      if (names++ == limits.names_per_line) break;
      length = 0;
      continue;
    }
    if (++length > limits.token_bytes || stored + kept.size() >= limits.name_bytes) return false;
    kept += c;
  }
  stored += kept.size();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  TokenLimits limits;
  limits.token_bytes = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
  limits.names_per_line = provider.ConsumeIntegralInRange<std::size_t>(1, 8);
  limits.name_bytes = provider.ConsumeIntegralInRange<std::size_t>(1, 256);
  const auto kinds = provider.ConsumeIntegral<std::uint64_t>();  // bit i: read i is a number
  const std::string text = provider.ConsumeRemainingBytesAsString();

  const std::vector<std::string> tokens = split(text);
  std::istringstream in(text);
  TokenReader reader(in, limits);
  std::size_t next = 0, stored = 0;
  const auto to_gbk = platform::utf8_to_gbk();
  const auto from_gbk = platform::gbk_to_utf8();
  for (int i = 0; i < 64; ++i) {
    if ((kinds >> i) & 1u) {
      // The next token that is a 32-bit number; a longer token than the bound on the way is
      // refused.
      std::int32_t expected = 0;
      bool refused = false;
      for (; next < tokens.size(); ++next) {
        if (tokens[next].size() > limits.token_bytes) {
          refused = true;
          break;
        }
        if (const auto value = parse_int32(tokens[next])) {
          expected = *value;
          ++next;
          break;
        }
      }
      try {
        if (reader.number() != expected || refused) std::abort();
      } catch (const InputTooLarge&) {
        if (!refused) std::abort();
        return 0;
      }
    } else {
      std::string kept;
      const bool fits = next == tokens.size() || expected_word(tokens[next], limits, stored, kept);
      try {
        const std::string word = reader.word();
        if (!fits || word != kept) std::abort();
      } catch (const InputTooLarge&) {
        if (fits) std::abort();
        return 0;
      }
      if (next < tokens.size()) ++next;
      from_gbk->convert(to_gbk->convert(kept));
      to_gbk->convert(from_gbk->convert(kept));
    }
  }
  return 0;
}
