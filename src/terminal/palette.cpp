#include "terminal/palette.hpp"

#include <algorithm>
#include <cmath>
#include <string>

namespace morvane {
namespace {

// A number of one or two decimal digits.
std::optional<int> small_number(std::string_view text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// One channel of "rgb:" as a share of its largest value: one to four hex digits.
std::optional<double> channel(std::string_view hex) {
  if (hex.empty() || hex.size() > 4) return std::nullopt;
  unsigned value = 0;
  for (const char c : hex) {
    unsigned digit = 0;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      return std::nullopt;
    }
    value = value * 16 + digit;
  }
  return static_cast<double>(value) / ((1u << (4 * hex.size())) - 1);
}

// The relative luminance of an sRGB channel's share.
double linear(double c) {
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

}  // namespace

std::optional<bool> light_from_colorfgbg(std::string_view value) {
  const std::size_t last = value.rfind(';');
  if (last == std::string_view::npos) return std::nullopt;
  const std::optional<int> background = small_number(value.substr(last + 1));
  if (!background || *background > 15) return std::nullopt;
  return *background == 7 || *background >= 9;
}

bool background_answers_ended(std::string_view answers) {
  // The device attributes: ESC [ ? ... c.
  const std::size_t at = answers.find("\x1b[?");
  return at != std::string_view::npos && answers.find('c', at) != std::string_view::npos;
}

std::string besides_answers(std::string_view answers) {
  std::string typed;
  while (!answers.empty()) {
    std::size_t end = 0;
    if (answers.starts_with("\x1b]11;")) {
      // Up to BEL, or to ESC and the backslash after it.
      end = answers.find_first_of("\a\x1b", 1);
      if (end != std::string_view::npos && answers[end] == '\x1b') ++end;
    } else if (answers.starts_with("\x1b[?")) {
      end = answers.find('c');
    } else {
      typed += answers.front();
      answers.remove_prefix(1);
      continue;
    }
    answers.remove_prefix(end == std::string_view::npos ? answers.size()
                                                        : std::min(end + 1, answers.size()));
  }
  return typed;
}

std::optional<bool> light_from_background_answer(std::string_view answers) {
  constexpr std::string_view kStart = "\x1b]11;rgb:";
  const std::size_t at = answers.find(kStart);
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view rest = answers.substr(at + kStart.size());
  const std::size_t end = rest.find_first_of("\a\x1b");
  if (end == std::string_view::npos) return std::nullopt;
  rest = rest.substr(0, end);
  double luminance = 0;
  constexpr double kWeights[] = {0.2126, 0.7152, 0.0722};
  for (const double weight : kWeights) {
    const std::size_t slash = rest.find('/');
    const std::optional<double> share = channel(rest.substr(0, slash));
    if (!share) return std::nullopt;
    luminance += weight * linear(*share);
    rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
  }
  // Black text's contrast, (L + 0.05) / 0.05, beats white's, 1.05 / (L + 0.05).
  return (luminance + 0.05) * (luminance + 0.05) > 1.05 * 0.05;
}

}  // namespace morvane
