// The record of games: its lines, what is read back of a spoilt file, the last thousand kept,
// and two games that end at once.

#include "app/history.hpp"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace morvane {
namespace {

using history::Entry;

Entry team_match(std::uint32_t seed) {
  return {.time = 1'800'000'000,
          .mode = 1,
          .seed = seed,
          .teams = {"甲/乙", "\x1b]0;x\a"},
          .winner = 2,
          .code = "MV1-AAAA"};
}

TEST(History, AnEntryReadsBackAsItWasWrittenAndASpoiltLineDoesNot) {
  Entry endless;
  endless.time = 1;
  endless.mode = 3;
  endless.seed = 4294967295u;
  endless.teams = {"你（属性8）"};
  endless.level = 6;
  endless.best = 9;
  Entry draw = team_match(5);
  draw.draw = true;
  draw.winner = 0;
  draw.code.clear();
  for (const Entry& e : {team_match(7), endless, draw}) {
    const std::string line = history::line_of(e);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(history::entry_of(line), e) << line;
  }
  EXPECT_EQ(history::line_of(endless),
            R"({"time":1,"mode":3,"seed":4294967295,"teams":["你（属性8）"],"level":6,"best":9})");
  for (const char* spoilt :
       {"", "{", "[]", R"({"mode":1,"seed":1})", R"({"time":1,"mode":5,"seed":1})",
        R"({"time":1,"mode":1,"seed":-1})", R"({"time":1,"mode":1,"seed":4294967296})",
        R"({"time":1,"mode":1,"seed":1,"teams":"甲"})", R"({"time":1,"mode":1,"seed":1,"code":7})",
        R"({"time":"now","mode":1,"seed":1})", R"({"time":1,"mode":1,"seed":1,"teams":[[[[1]]]]})",
        R"({"time":1,"mode":1,"seed":1,"draw":"yes"})",
        // Lines that would show as a command other than the game's own.
        R"({"time":1,"mode":1,"seed":1,"code":"MV1-A; rm -rf ~"})",
        R"({"time":1,"mode":1,"seed":1,"code":"curl x|sh"})",
        R"({"time":1,"mode":1,"seed":1,"teams":["甲\nmorvane replay MV1-x"]})"})
    EXPECT_FALSE(history::entry_of(spoilt).has_value()) << spoilt;
}

TEST(History, TheTeamsAreTheLinesAsTypedShortenedOrTheAttributesChosen) {
  using replay::Answer;
  const std::vector<Answer> match = {Answer::of_number(1), Answer::of_number(2),
                                     Answer::of_text("甲/乙"),
                                     Answer::of_text(std::string(30, 'a') + "\xff")};
  EXPECT_EQ(history::teams_of(1, match),
            (std::vector<std::string>{"甲/乙", std::string(24, 'a') + "…"}));
  // The prompts pass over numbers outside 0 ... 33 and take 33 as 13.
  const std::vector<Answer> author = {Answer::of_number(4),  Answer::of_number(99),
                                      Answer::of_number(33), Answer::of_number(0),
                                      Answer::of_number(8),  Answer::of_number(5)};
  EXPECT_EQ(history::teams_of(4, author), (std::vector<std::string>{"挑战者（属性13/0/8）"}));
  EXPECT_EQ(history::teams_of(3, author), (std::vector<std::string>{"你（属性13）"}));
  std::vector<Answer> crowd = {Answer::of_number(1), Answer::of_number(10)};
  for (int k = 0; k < 10; ++k)
    crowd.push_back(Answer::of_text("x"));
  const auto teams = history::teams_of(1, crowd);
  ASSERT_EQ(teams.size(), 9u);
  EXPECT_EQ(teams.back(), "…共10队");
}

// A folder of the test's own, empty, and gone again at the end of the test.
class Folder {
 public:
  explicit Folder(const std::string& name)
      : path_(std::filesystem::temp_directory_path() /
              ("morvane_" + name + "_" + std::to_string(std::random_device{}()))) {
    std::filesystem::remove_all(path_);
  }
  ~Folder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  std::string path() const { return path_.string(); }
  std::string file() const { return (path_ / "history.jsonl").string(); }

 private:
  std::filesystem::path path_;
};

TEST(History, TheLastThousandAreKeptAndSpoiltLinesArePassedOverWithTheirNumbers) {
  const Folder kept("history_kept");
  const std::string folder = kept.path();
  ASSERT_EQ(history::read(folder).error, ENOENT);
  for (std::uint32_t seed = 1; seed <= 1003; ++seed) {
    ASSERT_EQ(history::keep(folder, team_match(seed)).error, 0) << seed;
    // A line cut short, as a full disk leaves it: the next entry stays apart from it.
    if (seed == 2) std::ofstream(kept.file(), std::ios::app) << R"({"time":1,"mo)";
    if (seed != 3) continue;
    const history::Read early = history::read(folder);
    EXPECT_EQ(early.damaged, (std::vector<std::size_t>{3}));
    ASSERT_EQ(early.entries.size(), 3u);
    EXPECT_EQ(early.entries.back().seed, 3u);
  }
  const history::Read read = history::read(folder);
  ASSERT_EQ(read.error, 0);
  ASSERT_EQ(read.entries.size(), 1000u);
  EXPECT_EQ(read.entries.front().seed, 4u);
  EXPECT_EQ(read.entries.back().seed, 1003u);
  EXPECT_TRUE(read.damaged.empty()) << "the spoilt line was among the oldest";
}

TEST(History, TheEndlessModesBestIsKeptAcrossRunsAndAnUnwritableFolderIsAnError) {
  const Folder kept("history_best");
  const std::string folder = kept.path();
  Entry run;
  run.time = 1;
  run.mode = 3;
  run.teams = {"你（属性1）"};
  run.level = 4;
  EXPECT_EQ(history::keep(folder, run).best, 4);
  run.level = 2;
  EXPECT_EQ(history::keep(folder, run).best, 4);
  run.level = 7;
  EXPECT_EQ(history::keep(folder, run).best, 7);
  EXPECT_EQ(history::best_level(history::read(folder).entries), 7);
  EXPECT_EQ(history::keep(folder, team_match(1)).best, 0);
  // A file where the folder should be.
  const std::string blocked = kept.file() + "/morvane";
  const history::Kept refused = history::keep(blocked, run);
  EXPECT_NE(refused.error, 0);
  EXPECT_EQ(refused.where, blocked);
}

#ifndef _WIN32

TEST(History, TwoGamesEndingAtOnceLoseNoEntryAndSplitNone) {
  const Folder race("history_race");
  const std::string folder = race.path();
  // A history near its end, so that both writers also drop the oldest as they go.
  for (std::uint32_t seed = 0; seed < 900; ++seed)
    ASSERT_EQ(history::keep(folder, team_match(seed)).error, 0);
  std::vector<pid_t> writers;
  for (std::uint32_t writer = 1; writer <= 2; ++writer) {
    const pid_t pid = fork();
    if (pid == 0) {
      for (std::uint32_t k = 0; k < 200; ++k) {
        if (history::keep(folder, team_match(writer * 100000 + k)).error != 0) _exit(1);
      }
      _exit(0);
    }
    writers.push_back(pid);
  }
  for (const pid_t pid : writers) {
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  const history::Read read = history::read(folder);
  EXPECT_TRUE(read.damaged.empty());
  ASSERT_EQ(read.entries.size(), 1000u);
  std::set<std::uint32_t> seeds;
  for (const Entry& e : read.entries)
    seeds.insert(e.seed);
  for (std::uint32_t writer = 1; writer <= 2; ++writer) {
    for (std::uint32_t k = 0; k < 200; ++k)
      EXPECT_TRUE(seeds.contains(writer * 100000 + k)) << writer << " " << k;
  }
  EXPECT_EQ(seeds.size(), 1000u);
}

// A history that is a FIFO would hold the game at its end until someone opened the other side;
// one that is a device (a link to /dev/zero) reads without end. Both are errors at once.
TEST(History, AFifoOrADeviceInThePlaceOfTheFileIsAnErrorNotAWait) {
  const Folder kept("history_fifo");
  ASSERT_EQ(history::keep(kept.path(), team_match(1)).error, 0);
  std::filesystem::remove(kept.file());
  ASSERT_EQ(mkfifo(kept.file().c_str(), 0600), 0);
  EXPECT_NE(history::keep(kept.path(), team_match(2)).error, 0);
  EXPECT_NE(history::read(kept.path()).error, 0);
  std::filesystem::remove(kept.file());
  std::filesystem::create_symlink("/dev/zero", kept.file());
  EXPECT_NE(history::keep(kept.path(), team_match(3)).error, 0);
  EXPECT_NE(history::read(kept.path()).error, 0);
}
#endif

TEST(History, TheListingShowsEachGameAndTheCommandAloneOnTheLineAfter) {
  Entry endless;
  endless.time = 1'800'000'000;
  endless.mode = 3;
  endless.seed = 49;
  endless.teams = {"你（属性8）"};
  endless.level = 6;
  endless.best = 6;
  endless.code = "MV1-B";
  const std::string text = history::listing({team_match(1), team_match(2), endless}, 2);
  EXPECT_EQ(text.find("种子1 "), std::string::npos) << "only the last two";
  EXPECT_NE(
      text.find("  正常模式  种子2  甲/乙 对 \x1b]0;x\a  第2队胜利\nmorvane replay MV1-AAAA\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("  无尽模式  种子49  你（属性8）  挑战到第6关\nmorvane replay MV1-B\n"),
            std::string::npos)
      << text;
  EXPECT_TRUE(text.ends_with("无尽模式最好成绩：第6关\n")) << text;
}

}  // namespace
}  // namespace morvane
