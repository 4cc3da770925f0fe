// `morvane highlights` as a person runs it: the codes it prints replay on the command line, and
// Ctrl-C still prints what it found.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <string>

#include "support/interrupted.hpp"
#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

TEST(HighlightsProgram, ThePrintedCodesReplayToTheFightsTheyName) {
  const Outcome text = shell(kMorvane + " highlights --fights 40 --top 2 甲/乙 丙/丁 2>/dev/null");
  ASSERT_EQ(text.status, 0);
  const std::regex pick(
      "种子([0-9]+)：(?:打了[0-9]+回合，)?第([0-9])队获胜[^\n]*\n +morvane replay "
      "(MV1-[-_A-Za-z0-9]+)");
  int replayed = 0;
  for (auto it = std::sregex_iterator(text.out.begin(), text.out.end(), pick);
       it != std::sregex_iterator(); ++it, ++replayed) {
    const Outcome fight = shell(kMorvane + " replay --no-pause " + (*it)[3].str());
    EXPECT_EQ(fight.status, 0);
    EXPECT_NE(fight.out.find("胜利的是第" + (*it)[2].str() + "队"), std::string::npos);
    // The code's fight is the game of that seed with the same answers.
    EXPECT_EQ(fight.out, shell("printf '1\\n2\\n甲/乙\\n丙/丁\\n' | " + kMorvane +
                               " --no-pause --max-rounds 10000 --seed " + (*it)[1].str())
                             .out);
  }
  EXPECT_EQ(replayed, 6) << text.out;

  const auto j = nlohmann::json::parse(
      shell(kMorvane + " highlights --fights 40 --top 2 --json 甲/乙 丙/丁").out);
  EXPECT_EQ(j["fights"], 40);
  EXPECT_EQ(j["comebacks"].size(), 2u);
  EXPECT_TRUE(j["longest"][0]["code"].get<std::string>().starts_with("MV1-"));
}

TEST(HighlightsProgram, CtrlCPrintsThePicksSoFarAndEndsByTheSignal) {
  const Outcome r =
      interrupted({"highlights", "--fights", "4000000000", "甲/乙/丙", "丁/戊/己"}, SIGINT);
  EXPECT_EQ(r.status, 130);
  EXPECT_NE(r.out.find("已中断：计划4000000000场"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("morvane replay MV1-"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace morvane
#endif
