#include "app/game_command.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <sstream>

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/options.hpp"
#include "console/platform.hpp"
#include "odds/odds.hpp"
#include "replay/pasted_code.hpp"
#include "replay/replay_code.hpp"
#include "session/session.hpp"

namespace morvane::cli {
namespace {

// The options as checked values.
struct Settings {
  std::uint32_t seed = 0;
  std::int64_t max_rounds = 0;
  TerminalOptions terminal;
};

// Whether a replay code could be written to `path` when the game ends: 0, or the error number
// of why not. Nothing is left behind: a file that was not there is made and removed again, one
// that was is not opened. A device that fails only when written (/dev/full) is found out when
// the code is written.
int writable(const std::string& path) {
  std::error_code ignored;
  const std::filesystem::file_status status = std::filesystem::status(path, ignored);
  if (std::filesystem::is_directory(status)) return EISDIR;
  if (std::filesystem::exists(status)) return access(path.c_str(), W_OK) == 0 ? 0 : errno;
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
  if (file < 0) return errno;
  close(file);
  std::remove(path.c_str());
  return 0;
}

// Checks the typed values; the exit status of a refusal, or nothing when all are good.
std::optional<int> check(const GameCommand& game, Given given, Settings& settings) {
  settings.seed = static_cast<std::uint32_t>(std::time(nullptr));
  if (given.seed) {
    const auto parsed = parse_seed(game.seed);
    if (!parsed) return usage_error("--seed: '" + game.seed + "' is not a decimal integer");
    settings.seed = *parsed;
  }
  const auto max_rounds = parse_count(game.max_rounds, 0, std::int64_t{1} << 40);
  if (!max_rounds) {
    return usage_error("--max-rounds must be a number of rounds, 0 for no cap, not '" +
                       game.max_rounds + "'");
  }
  settings.max_rounds = *max_rounds;
  const auto speed = parse_speed(game.speed, kMinSpeed, kMaxSpeed);
  if (!speed) {
    return usage_error("--speed must be a decimal number from 0.01 to 1000, not '" + game.speed +
                       "'");
  }
  settings.terminal = game.terminal;
  settings.terminal.speed = *speed;
  if (given.record) {
    // Found out before anything is asked, not after the whole game.
    if (game.record.empty()) return usage_error("--record：文件名不能是空的");
    if (const int error = writable(game.record); error != 0)
      return write_failure(game.record + ": " + std::strerror(error));
  }
  return std::nullopt;
}

// Writes a replay code and a line end to the file; 0, or the error number of the failure.
int write_code_file(const std::string& path, const std::string& code) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return errno;
  const std::string text = code + "\n";
  int error = std::fwrite(text.data(), 1, text.size(), file) == text.size() ? 0 : errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return error;
}

// Why a game has no code, for the player.
std::string no_code_text(session::NoCode why) {
  return why == session::NoCode::TooLong ? "这局游戏太长，没有回放码" : "这局游戏太大，没有回放码";
}

int record(const std::string& path, const std::string& code,
           session::NoCode why = session::NoCode::None) {
  if (path.empty()) return 0;
  if (code.empty()) {
    // The game itself went well: only its code is missing.
    std::cerr << "morvane: " << no_code_text(why) << "，" << path << " 没有写入\n";
    return 0;
  }
  const int error = write_code_file(path, code);
  return error == 0 ? 0 : write_failure(path + ": " + std::strerror(error));
}

// The code that `source` is, or the text of the file it names ("-": standard input) that holds
// one. Nothing, with the status already given, when there is no such file or it cannot be read.
std::optional<std::string> code_of(const std::string& source, int& status) {
  // A code is at most kMaxCodeLength characters, twice as many bytes in UTF-16; a little more
  // leaves room for the words and blanks around it.
  constexpr std::size_t kMostBytes = 2 * replay::kMaxCodeLength + 4096;
  std::error_code ignored;
  FileText file;
  if (source == "-") {
    file = read_capped(platform::input(), kMostBytes);
  } else if (std::filesystem::exists(source, ignored)) {
    file = read_capped(source, kMostBytes);
  } else if (replay::find_code(source, replay::kMaxCodeLength)) {
    return source;
  } else {
    status = refused("找不到文件：" + source);
    return std::nullopt;
  }
  const std::string shown = source == "-" ? "标准输入" : "回放码文件 " + source;
  switch (file.status) {
    case FileText::Status::Read:
      return std::move(file.text);
    case FileText::Status::Unreadable:
      status = refused("读不了" + shown);
      return std::nullopt;
    case FileText::Status::TooLarge:
      break;
  }
  status = refused(shown + " 太大，不是一个回放码");
  return std::nullopt;
}

// The live odds, when asked for: shown on the terminal itself, beside the rules' narration and
// outside what a replay code records.
std::unique_ptr<odds::OddsListener> odds_for(const GameCommand& game, TerminalConsole& terminal,
                                             std::uint32_t seed) {
  if (game.odds.empty()) return nullptr;
  return std::make_unique<odds::OddsListener>(
      terminal, seed,
      odds::OddsListener::Options{.ascii = terminal.speaks_gbk(),
                                  .verbose = game.odds == "verbose"});
}

}  // namespace

void add_game_options(CLI::App& app, GameCommand& game) {
  app.add_option("--seed", game.seed,
                 "随机种子：十进制整数，可带正负号，按2^32取模；同样的种子和输入重现同一局。"
                 "默认：当前时间")
      ->option_text("N");
  // An empty or missing value is refused here too, with the range, rather than by CLI11.
  app.add_option("--speed", game.speed, "每次停顿除以X：0.01到1000之间的小数，4就是四倍速")
      ->expected(0, 1)
      ->option_text("X");
  app.add_flag("--no-pause", game.terminal.no_pause, "不停顿");
  const std::map<std::string, ColorChoice> colors = {
      {"auto", ColorChoice::Auto}, {"always", ColorChoice::Always}, {"never", ColorChoice::Never}};
  app.add_option(
         "--color", game.terminal.color,
         "颜色。auto（默认）：输出到终端时有颜色，除非设置了NO_COLOR，或TERM是dumb或没有设置")
      ->transform(CLI::CheckedTransformer(colors, CLI::ignore_case))
      ->option_text("auto|always|never");
  const std::map<std::string, EncodingChoice> encodings = {{"auto", EncodingChoice::Auto},
                                                           {"utf-8", EncodingChoice::Utf8},
                                                           {"utf8", EncodingChoice::Utf8},
                                                           {"gbk", EncodingChoice::Gbk}};
  app.add_option("--encoding", game.terminal.encoding,
                 "终端的文字编码。auto（默认）：按区域设置（locale）的字符集，GBK系的用GBK，"
                 "其余用UTF-8")
      ->transform(CLI::CheckedTransformer(encodings, CLI::ignore_case))
      ->option_text("auto|utf-8|gbk");
  app.add_option("--max-rounds", game.max_rounds,
                 "一场战斗过了N回合仍未分出胜负就判为平局（默认" +
                     std::to_string(session::kDefaultMaxRounds) + "；0：不设上限）")
      ->option_text("N");
  app.add_option("--record", game.record, "游戏结束时把这局的回放码写入文件FILE")
      ->option_text("FILE");
  app.add_flag("--odds{on}", game.odds,
               "每回合结束后显示各队此刻的胜率（--odds=verbose：另显示模拟了多少局）")
      ->check(CLI::IsMember({"on", "verbose"}))
      ->option_text("[=verbose]");
}

void add_replay(CLI::App& app, ReplayCommand& replay, GameCommand& game,
                const std::string& version) {
  replay.cmd = app.add_subcommand(
      "replay",
      "重放回放码（或存着回放码的文件）里的战斗：写出的字节与原来那局完全一样，什么也不问");
  add_game_options(*replay.cmd, game);
  replay.cmd->set_version_flag("--version", version, "显示版本并退出");
  replay.cmd
      ->add_option("code", replay.source, "回放码（MV1-...），或存着回放码的文件（-：标准输入）")
      ->required();
  chinese_help(*replay.cmd, replay_usage(), replay_footer());
}

int run_game(const GameCommand& game, Given given) {
  Settings settings;
  if (const auto status = check(game, given, settings)) return *status;
  TerminalConsole console(settings.terminal, platform::input());
  // On a terminal the player is shown the game's code; a piped game writes the rules' bytes
  // only, and its code goes to the --record file if asked for.
  const bool show_code = console.output_is_terminal();
  const auto odds = odds_for(game, console, settings.seed);
  if (!show_code && game.record.empty()) {
    session::play(console, settings.seed, settings.max_rounds, odds.get());
    console.finish();
    return 0;
  }
  const session::Recorded recorded =
      session::play_recorded(console, settings.seed, settings.max_rounds, odds.get());
  std::string note;
  if (show_code && recorded.code.empty()) note = no_code_text(recorded.no_code);
  if (show_code && !recorded.code.empty()) {
    note = "种子：" + std::to_string(settings.seed) + "　回放：morvane replay " + recorded.code;
  }
  console.finish(note);
  return record(game.record, recorded.code, recorded.no_code);
}

int run_replay(const ReplayCommand& replay, const GameCommand& game, Given given) {
  Settings settings;
  if (const auto status = check(game, given, settings)) return *status;
  int status = 0;
  const std::optional<std::string> code = code_of(replay.source, status);
  if (!code) return status;
  const session::Loaded loaded = session::load(*code);
  if (!loaded.fight) return refused(loaded.message);
  const replay::Fight& fight = *loaded.fight;
  // The code holds the fight's seed and round cap: a different one would be another fight.
  if (given.seed && settings.seed != fight.seed) {
    return usage_error("replay: the code's fight has seed " + std::to_string(fight.seed) +
                       "; leave --seed out");
  }
  if (given.max_rounds && settings.max_rounds != fight.max_rounds) {
    return usage_error("replay: the code's fight has --max-rounds " +
                       std::to_string(fight.max_rounds) + "; leave --max-rounds out");
  }
  settings.terminal.interactive = false;
  std::istringstream nothing;  // every answer comes from the code
  TerminalConsole console(settings.terminal, nothing);
  const auto odds = odds_for(game, console, fight.seed);
  session::replay(console, fight, odds.get());
  console.finish();
  return record(game.record, replay::encode(fight));
}

}  // namespace morvane::cli
