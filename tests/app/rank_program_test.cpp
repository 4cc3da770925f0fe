// `morvane rank` as a person runs it: entrants from a file, shards merged on the command line,
// a pair's games found again with simulate, Ctrl-C.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <signal.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/interrupted.hpp"
#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

Outcome rank(const std::string& args, const std::string& redirect = "2>/dev/null") {
  return shell(kMorvane + " rank " + args + " " + redirect);
}

// The JSON without what depends on the machine and on how the run was split.
nlohmann::json figures(const std::string& text) {
  auto j = nlohmann::json::parse(text);
  for (const char* key : {"seconds", "games_per_second", "threads", "shards", "ranges"})
    j.erase(key);
  return j;
}

TEST(RankProgram, EntrantsFromAFileAreThoseOfTheCommandLine) {
  const std::string path = temp_path("entrants");
  // A byte order mark, Windows line ends, no line end at the last.
  std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF甲/乙\r\ntessik\r\n丙";
  const Outcome from_file = rank("--games 50 --json --from " + path);
  const Outcome typed = rank("--games 50 --json 甲/乙 tessik 丙");
  ASSERT_EQ(from_file.status, 0);
  EXPECT_EQ(figures(from_file.out), figures(typed.out));
  std::remove(path.c_str());
}

TEST(RankProgram, ShardsOfPairsMergedOnTheCommandLineAreOneRun) {
  const std::string entrants = " 甲 乙 丙/丁 戊 己";
  const Outcome whole = rank("--games 40 --opponents 3 --json" + entrants);
  ASSERT_EQ(whole.status, 0);
  ASSERT_EQ(nlohmann::json::parse(whole.out)["schedule_pairs"], 10);
  std::string files;
  std::vector<std::string> paths;
  for (const char* part : {"--first-pair 6", "--first-pair 0 --pairs 6"}) {
    paths.push_back(temp_path("rank_shard" + std::to_string(paths.size())));
    ASSERT_EQ(rank("--games 40 --opponents 3 --threads 1 --json " + std::string(part) + entrants +
                   " > " + paths.back())
                  .status,
              0);
    files += " " + paths.back();
  }
  const Outcome merged = rank("--json --merge" + files);
  ASSERT_EQ(merged.status, 0);
  EXPECT_EQ(figures(merged.out), figures(whole.out));
  const Outcome text = rank("--merge" + files);
  EXPECT_NE(text.out.find("合并2个分片：排名：5个参赛者"), std::string::npos) << text.out;
  const Outcome csv = rank("--csv --merge" + files);
  EXPECT_TRUE(csv.out.starts_with("rank,entrant,rating,")) << csv.out;
  // The same shard twice.
  const Outcome twice = rank("--merge" + files + " " + paths[0], "2>&1 >/dev/null");
  EXPECT_EQ(twice.status, 2);
  EXPECT_NE(twice.out.find("都有第6～9对"), std::string::npos) << twice.out;
  for (const std::string& path : paths)
    std::remove(path.c_str());
}

TEST(RankProgram, APairsFiguresComeAgainFromSimulateAsTheHelpSays) {
  // Pair p of G games: games p*G ... p*G+H-1 with its first entrant as team 1, then the rest
  // the other way round (H: half of G, rounded up).
  const auto j = nlohmann::json::parse(rank("--games 301 --seed 5 --json 甲 乙/丙 丁").out);
  const auto& row = j["results"][2];  // [pair, first, second, games, wins of each, ...]
  ASSERT_EQ(row[0], 2);
  const std::string first = j["entrants"][row[1].get<std::size_t>()];
  const std::string second = j["entrants"][row[2].get<std::size_t>()];
  const auto one = nlohmann::json::parse(
      shell(kMorvane + " simulate --json --seed 5 --first-game 602 --games 151 " + first + " " +
            second)
          .out);
  const auto two = nlohmann::json::parse(
      shell(kMorvane + " simulate --json --seed 5 --first-game 753 --games 150 " + second + " " +
            first)
          .out);
  EXPECT_EQ(row[4], one["teams"][0]["wins"].get<int>() + two["teams"][1]["wins"].get<int>());
  EXPECT_EQ(row[5], one["teams"][1]["wins"].get<int>() + two["teams"][0]["wins"].get<int>());
  EXPECT_EQ(row[6], one["no_winner"].get<int>() + two["no_winner"].get<int>());
}

TEST(RankProgram, CtrlCOrSigtermPrintTheRankingSoFarAndEndByTheSignal) {
  const Outcome text =
      interrupted({"rank", "--games", "1000000000", "--threads", "2", "甲/乙", "丙", "丁"}, SIGINT);
  EXPECT_EQ(text.status, 130);
  EXPECT_NE(text.out.find("已中断：计划3000000000局，以下是完成的"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("   1  "), std::string::npos) << text.out;

  const Outcome json =
      interrupted({"rank", "--games", "1000000000", "--json", "甲", "乙"}, SIGTERM);
  EXPECT_EQ(json.status, 143);
  const auto j = nlohmann::json::parse(json.out, nullptr, false);
  ASSERT_FALSE(j.is_discarded()) << json.out;
  EXPECT_EQ(j["interrupted"], true);
  EXPECT_GT(j["games"].get<long long>(), 0);
  EXPECT_EQ(j["results"][0][3], j["games"]);
  EXPECT_EQ(j["ranking"][0]["games"], j["games"]);
}

}  // namespace
}  // namespace morvane
#endif
