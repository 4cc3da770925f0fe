// `morvane simulate` as a person runs it: shards on the command line, Ctrl-C, bad counts.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/interrupted.hpp"
#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

Outcome simulate(const std::string& args, const std::string& redirect = "2>/dev/null") {
  return shell(kMorvane + " simulate " + args + " " + redirect);
}

TEST(SimulateProgram, ShardsMergedOnTheCommandLinePrintOneRunsFigures) {
  const std::string teams = " 甲/乙/丙 丁/戊/己 庚";
  const Outcome whole = simulate("--games 900 --threads 2 --json" + teams);
  ASSERT_EQ(whole.status, 0);
  std::vector<std::string> paths;
  std::string files;
  for (const auto& [first, games] : {std::pair{0, 300}, std::pair{300, 500}, std::pair{800, 100}}) {
    const std::string path = temp_path("shard" + std::to_string(first));
    const Outcome r =
        simulate("--games " + std::to_string(games) + " --first-game " + std::to_string(first) +
                 " --threads 1 --json" + teams + " > " + path);
    ASSERT_EQ(r.status, 0);
    paths.push_back(path);
    files += " " + path;
  }
  const Outcome merged = simulate("--json --merge" + files);
  ASSERT_EQ(merged.status, 0);
  auto x = nlohmann::json::parse(whole.out), y = nlohmann::json::parse(merged.out);
  for (const char* key : {"games", "teams", "no_winner", "cut", "total_rounds", "most_rounds"})
    EXPECT_EQ(x[key], y[key]) << key;
  EXPECT_EQ(y["ranges"], nlohmann::json::parse("[[0,899]]"));
  EXPECT_NE(simulate("--merge" + files).out.find("合并3个分片：模拟了900局"), std::string::npos);

  // The same shard twice is refused with status 2 and a reason, and so is what is no shard.
  const Outcome twice = simulate("--merge " + paths[0] + " " + paths[0], "2>&1 >/dev/null");
  EXPECT_EQ(twice.status, 2);
  EXPECT_NE(twice.out.find("都有第0～299局"), std::string::npos) << twice.out;
  const std::string other = temp_path("other");
  std::ofstream(other) << "{\"mode\":1}";
  paths.push_back(other);
  EXPECT_EQ(simulate("--merge " + other).status, 2);
  EXPECT_EQ(simulate("--merge /nonexistent/shard.json").status, 2);
  for (const std::string& path : paths)
    std::remove(path.c_str());
}

TEST(SimulateProgram, TheLastGameIsTheLastSeedsAndBeyondItIsRefused) {
  const Outcome last = simulate("--games 1 --first-game 4294967295 甲 乙");
  EXPECT_EQ(last.status, 0);
  EXPECT_NE(last.out.find("第4294967295局"), std::string::npos) << last.out;
  for (const char* beyond : {"--games 4294967296 --first-game 1", "--games 4294967297",
                             "--first-game 4294967296", "--first-game -1"})
    EXPECT_EQ(simulate(beyond + std::string(" 甲 乙")).status, 2) << beyond;
}

TEST(SimulateProgram, CtrlCOrSigtermPrintTheGamesFinishedSoFarAndEndByTheSignal) {
  const Outcome text =
      interrupted({"simulate", "--games", "4000000000", "--threads", "2", "甲/乙", "丙"}, SIGINT);
  EXPECT_EQ(text.status, 130);
  EXPECT_NE(text.out.find("已中断：计划4000000000局，以下是完成的"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("第2队 丙：胜"), std::string::npos) << text.out;

  const Outcome json =
      interrupted({"simulate", "--games", "4000000000", "--json", "甲/乙", "丙"}, SIGTERM);
  EXPECT_EQ(json.status, 143);
  const auto j = nlohmann::json::parse(json.out, nullptr, false);
  ASSERT_FALSE(j.is_discarded()) << json.out;
  EXPECT_EQ(j["interrupted"], true);
  EXPECT_EQ(j["games_planned"], 4000000000);
  // The games finished, each counted once.
  const auto count = [](const nlohmann::json& figure) { return figure.get<long long>(); };
  EXPECT_GT(count(j["games"]), 0);
  EXPECT_EQ(count(j["games"]), count(j["teams"][0]["wins"]) + count(j["teams"][1]["wins"]) +
                                   count(j["no_winner"]) + count(j["cut"]));
}

// `morvane simulate --merge FILE`: its exit status and peak memory (KB), as the kernel counted
// them for the child.
std::pair<int, long> merged_with_peak(const std::string& file) {
  const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
  const pid_t pid = start_morvane({"simulate", "--merge", file}, -1, nowhere, nowhere);
  close(nowhere);
  return wait_with_peak(pid);
}

TEST(SimulateProgram, ShardsThatNestDeepOrHoldTooMuchAreRefusedInLittleMemory) {
  const auto repeated = [](std::string_view piece, std::size_t times) {
    std::string text;
    text.reserve(piece.size() * times);
    for (std::size_t k = 0; k < times; ++k)
      text += piece;
    return text;
  };
  const std::string files[] = {
      "{\"a\":" + repeated("[", 100000) + repeated("]", 100000) + ",\"b\":0}",
      repeated("[", 16 << 20),  // past the largest shard
      // Within the largest shard: as many values as a report may hold, and one long name.
      "[" + repeated("{},", 199990) + "{}]",
      "{\"teams\":[{\"line\":\"" + repeated("x", 4100000) + "\"}]}",
  };
  const std::string path = temp_path("shard");
  for (const std::string& text : files) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    const auto [status, peak_kb] = merged_with_peak(path);
    EXPECT_EQ(status, 2) << text.substr(0, 20);
    EXPECT_LT(peak_kb, kMemoryBoundKb) << text.substr(0, 20);
  }
  std::remove(path.c_str());
}

TEST(SimulateProgram, CtrlCStopsEvenInsideABattleOfMillionsOfRounds) {
  // Its first game is a battle of two fighters that nobody wins before the cap of 2^40 rounds.
  std::chrono::steady_clock::duration took{};
  const Outcome r = interrupted({"simulate", "--threads", "1", "--seed", "365675", "--games", "3",
                                 "--max-rounds", "1099511627776", "a", "b"},
                                SIGINT, &took);
  EXPECT_EQ(r.status, 130);
  EXPECT_LT(took, std::chrono::seconds(1));
  EXPECT_NE(r.out.find("已中断：计划3局，一局也没有打完，没有胜率"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("置信区间"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace morvane
#endif
