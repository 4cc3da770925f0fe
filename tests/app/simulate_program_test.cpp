// `morvane simulate` as a person runs it: shards on the command line, Ctrl-C, bad counts.

#include <gtest/gtest.h>

#ifndef _WIN32
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/process.hpp"

namespace morvane {
namespace {

using namespace morvane::testing;

std::string temp(const std::string& name) {
  return ::testing::TempDir() + "morvane_" + std::to_string(getpid()) + "_" + name;
}

Outcome simulate(const std::string& args, const std::string& redirect = "2>/dev/null") {
  return shell(std::string(MORVANE_BIN) + " simulate " + args + " " + redirect);
}

TEST(SimulateProgram, ShardsMergedOnTheCommandLinePrintOneRunsFigures) {
  const std::string teams = " 甲/乙/丙 丁/戊/己 庚";
  const Outcome whole = simulate("--games 900 --threads 2 --json" + teams);
  ASSERT_EQ(whole.status, 0);
  std::string files;
  for (const auto& [first, games] : {std::pair{0, 300}, std::pair{300, 500}, std::pair{800, 100}}) {
    const std::string path = temp("shard" + std::to_string(first));
    const Outcome r =
        simulate("--games " + std::to_string(games) + " --first-game " + std::to_string(first) +
                 " --threads 1 --json" + teams + " > " + path);
    ASSERT_EQ(r.status, 0);
    files += " " + path;
  }
  const Outcome merged = simulate("--json --merge" + files);
  ASSERT_EQ(merged.status, 0);
  auto x = nlohmann::json::parse(whole.out), y = nlohmann::json::parse(merged.out);
  for (const char* key : {"games", "teams", "no_winner", "cut", "total_rounds", "most_rounds"})
    EXPECT_EQ(x[key], y[key]) << key;
  EXPECT_EQ(y["ranges"], nlohmann::json::parse("[[0,899]]"));
  EXPECT_NE(simulate("--merge" + files).out.find("合并3个分片：模拟了900局"), std::string::npos);

  // The same shard twice, or a shard of other teams, is refused with status 2 and a reason.
  const std::string first = files.substr(1, files.find(' ', 1) - 1);
  const Outcome twice = simulate("--merge " + first + " " + first, "2>&1 >/dev/null");
  EXPECT_EQ(twice.status, 2);
  EXPECT_NE(twice.out.find("都有第0～299局"), std::string::npos) << twice.out;
  const std::string other = temp("other");
  ASSERT_EQ(simulate("--games 10 --first-game 900 --json 甲 乙 > " + other).status, 0);
  const Outcome mixed = simulate("--merge " + first + " " + other, "2>&1 >/dev/null");
  EXPECT_EQ(mixed.status, 2);
  EXPECT_NE(mixed.out.find("队伍和第1个不同"), std::string::npos) << mixed.out;
  std::ofstream(other) << "{\"mode\":1}";
  EXPECT_EQ(simulate("--merge " + other).status, 2);
  EXPECT_EQ(simulate("--merge /nonexistent/shard.json").status, 2);
  for (const std::string& path : {other, first})
    std::remove(path.c_str());
}

TEST(SimulateProgram, CountsBeyondTheSeedsThatExistAreRefused) {
  EXPECT_EQ(simulate("--games 4294967296 --first-game 1 甲 乙").status, 2);
  EXPECT_EQ(simulate("--games 4294967297 甲 乙").status, 2);
  EXPECT_EQ(simulate("--first-game 4294967296 甲 乙").status, 2);
  EXPECT_EQ(simulate("--first-game -1 甲 乙").status, 2);
  const Outcome last = simulate("--games 1 --first-game 4294967295 甲 乙");
  EXPECT_EQ(last.status, 0);
  EXPECT_NE(last.out.find("第4294967295局"), std::string::npos) << last.out;
  EXPECT_EQ(simulate("--games 5 甲 乙", "> /dev/full 2>/dev/null").status, 1);
  const Outcome full = simulate("--games 5 甲 乙", "2>&1 >/dev/full");
  EXPECT_NE(full.out.find("morvane: 写入失败："), std::string::npos) << full.out;
}

// Starts `morvane simulate ARGS`, sends `sig` once it has played a while, and returns what it
// printed and its exit status.
// Whether process `pid` has a handler of its own for `sig` (Linux: its SigCgt mask).
bool catches(pid_t pid, int sig) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("SigCgt:", 0) != 0) continue;
    const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
    return (mask >> (sig - 1) & 1u) != 0;
  }
  return false;
}

Outcome interrupted(const std::vector<std::string>& args, int sig) {
  int out[2];
  EXPECT_EQ(pipe(out), 0);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], 1);
    close(out[0]);
    close(out[1]);
    std::vector<char*> argv{const_cast<char*>(MORVANE_BIN), const_cast<char*>("simulate")};
    for (const std::string& a : args)
      argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(MORVANE_BIN, argv.data());
    _exit(127);
  }
  close(out[1]);
  // The signal is sent once the run has taken it over and played for a while: a loaded machine
  // (or a sanitizer) can take longer than that to start a process at all.
  for (int tries = 0; tries < 2000 && !catches(pid, sig); ++tries)
    usleep(10'000);
  usleep(300'000);
  kill(pid, sig);
  Outcome r;
  char buf[4096];
  for (ssize_t got; (got = read(out[0], buf, sizeof buf)) > 0;)
    r.out.append(buf, static_cast<std::size_t>(got));
  close(out[0]);
  int raw = 0;
  waitpid(pid, &raw, 0);
  r.status = exit_status(raw);
  return r;
}

TEST(SimulateProgram, CtrlCOrSigtermPrintTheGamesFinishedSoFarAndEndByTheSignal) {
  const Outcome text =
      interrupted({"--games", "4000000000", "--threads", "2", "甲/乙", "丙"}, SIGINT);
  EXPECT_EQ(text.status, 130);
  EXPECT_NE(text.out.find("已中断：计划4000000000局，以下是完成的"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("第2队 丙：胜"), std::string::npos) << text.out;

  const Outcome json = interrupted({"--games", "4000000000", "--json", "甲/乙", "丙"}, SIGTERM);
  EXPECT_EQ(json.status, 143);
  const auto j = nlohmann::json::parse(json.out, nullptr, false);
  ASSERT_FALSE(j.is_discarded()) << json.out;
  EXPECT_EQ(j["interrupted"], true);
  EXPECT_EQ(j["games_planned"], 4000000000);
  EXPECT_GT(j["games"].get<long long>(), 0);
}

}  // namespace
}  // namespace morvane
#endif
