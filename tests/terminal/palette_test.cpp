#include "terminal/palette.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace morvane {
namespace {

TEST(Palette, ColorfgbgNamesTheBackgroundByItsLastNumber) {
  const std::pair<const char*, std::optional<bool>> cases[] = {
      {"15;0", false},
      {"0;15", true},
      {"0;7", true},
      {"7;8", false},
      {"0;default;15", true},
      {"15;default;0", false},
      {"12;9", true},
      {"default;default", {}},
      {"15", {}},
      {"0;16", {}},
      {"0;", {}},
      {"0;x1", {}},
  };
  for (const auto& [value, light] : cases)
    EXPECT_EQ(light_from_colorfgbg(value), light) << value;
}

TEST(Palette, TheTerminalsAnswerNamesItsBackgroundAndKeysTypedMeanwhileAreKept) {
  const std::string attributes = "\x1b[?64;1;22c";
  const std::pair<std::string, std::optional<bool>> cases[] = {
      {"\x1b]11;rgb:ffff/ffff/ffff\x1b\\", true},
      {"\x1b]11;rgb:fdfd/f6f6/e3e3\a", true},  // Solarized light
      {"\x1b]11;rgb:0000/0000/0000\a", false},
      {"\x1b]11;rgb:30/0a/24\a", false},  // two digits a channel
      {"\x1b]11;rgb:6/6/6\a", false},  // one digit a channel: a dark grey, where white reads better
      {"\x1b]11;rgb:a/a/a\a", true},
      {"\x1b]11;rgb:ffff/ffff\a", {}},
      {"\x1b]11;rgb:fffff/0/0\a", {}},
      {"\x1b]11;rgb:ffff/ffff/ffff", {}},  // never ended
      {"", {}},
  };
  for (const auto& [answer, light] : cases) {
    const std::string answers = "a" + answer + "b" + attributes + "c";
    EXPECT_EQ(light_from_background_answer(answers), light) << ::testing::PrintToString(answer);
    EXPECT_TRUE(background_answers_ended(answers));
    if (light) {
      EXPECT_EQ(besides_answers(answers), "abc") << ::testing::PrintToString(answer);
    }
  }
  EXPECT_FALSE(background_answers_ended("\x1b]11;rgb:0/0/0\a\x1b[?64;1"));
}

// The contrast of a 256-colour code (its cube or grey ramp) against white, as WCAG defines it.
double contrast_on_white(std::string_view code) {
  const auto at = code.find("38;5;");
  if (at == std::string_view::npos) return 0;
  const int index = std::stoi(std::string(code.substr(at + 5)));
  const int levels[] = {0, 95, 135, 175, 215, 255};
  int rgb[3];
  if (index >= 232) {
    rgb[0] = rgb[1] = rgb[2] = 8 + 10 * (index - 232);
  } else {
    rgb[0] = levels[(index - 16) / 36], rgb[1] = levels[(index - 16) / 6 % 6],
    rgb[2] = levels[(index - 16) % 6];
  }
  const double weights[] = {0.2126, 0.7152, 0.0722};
  double luminance = 0;
  for (int k = 0; k < 3; ++k) {
    const double c = rgb[k] / 255.0;
    luminance += weights[k] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return 1.05 / (luminance + 0.05);
}

TEST(Palette, EveryColourOfTheLightPaletteReadsOnWhite) {
  for (std::size_t k = 1; k < kLightPalette.size(); ++k)
    EXPECT_GE(contrast_on_white(kLightPalette[k]), 3.0) << k;
  EXPECT_EQ(kLightPalette[7], kDarkPalette[7]);
  for (std::size_t k = 0; k < 7; ++k)
    EXPECT_EQ(kDarkPalette[k], kPalette[k]) << "dark differs from the rules' only in its grey";
}

}  // namespace
}  // namespace morvane
