#include "app/game_command.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <utility>

#include "app/cli.hpp"
#include "app/help.hpp"
#include "app/history.hpp"
#include "app/options.hpp"
#include "app/system_reason.hpp"
#include "odds/odds.hpp"
#include "replay/pasted_code.hpp"
#include "replay/replay_code.hpp"
#include "session/session.hpp"
#include "terminal/platform.hpp"

namespace morvane::cli {
namespace {

// The options as checked values.
struct Settings {
  std::uint32_t seed = 0;
  std::int64_t max_rounds = 0;
  TerminalOptions terminal;
};

// A choice typed in any case, as one of `choices`; nothing for anything else.
template <typename Choice>
std::optional<Choice> choice_of(std::string text,
                                std::initializer_list<std::pair<const char*, Choice>> choices) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [name, choice] : choices) {
    if (text == name) return choice;
  }
  return std::nullopt;
}

std::string refusal(const char* option, const std::string& rule, const std::string& value) {
  return std::string(option) + " " + rule + "，不能是“" + typed(value) + "”";
}

// Checks the values chosen from a list; the exit status of a refusal, or nothing when all are
// good. The encoding comes first: it says how the other refusals are written.
std::optional<int> check_choices(const GameCommand& game, TerminalOptions& terminal,
                                 std::string_view command) {
  using enum EncodingChoice;
  const auto encoding = choice_of<EncodingChoice>(
      game.encoding, {{"auto", Auto}, {"utf-8", Utf8}, {"utf8", Utf8}, {"gbk", Gbk}});
  if (!encoding) {
    return usage_error(refusal("--encoding", "只能是 auto、utf-8 或 gbk", game.encoding), command);
  }
  if (*encoding != Auto) speak_gbk(*encoding == Gbk);
  const auto color = choice_of<ColorChoice>(game.color, {{"auto", ColorChoice::Auto},
                                                         {"always", ColorChoice::Always},
                                                         {"never", ColorChoice::Never}});
  if (!color) {
    return usage_error(refusal("--color", "只能是 auto、always 或 never", game.color), command);
  }
  const auto palette = choice_of<PaletteChoice>(game.palette, {{"auto", PaletteChoice::Auto},
                                                               {"dark", PaletteChoice::Dark},
                                                               {"light", PaletteChoice::Light}});
  if (!palette) {
    return usage_error(refusal("--palette", "只能是 auto、dark 或 light", game.palette), command);
  }
  terminal.encoding = *encoding;
  terminal.color = *color;
  terminal.palette = *palette;
  return std::nullopt;
}

// Checks the typed values; the exit status of a refusal, or nothing when all are good.
std::optional<int> check(const GameCommand& game, Given given, Settings& settings,
                         std::string_view command) {
  settings.terminal = game.terminal;
  if (const auto status = check_choices(game, settings.terminal, command)) return status;
  settings.seed = static_cast<std::uint32_t>(std::time(nullptr));
  if (given.seed) {
    const auto parsed = parse_seed(game.seed);
    if (!parsed)
      return usage_error(refusal("--seed", "要是十进制整数（可带正负号）", game.seed), command);
    settings.seed = *parsed;
  }
  const auto max_rounds = parse_count(game.max_rounds, 0, std::int64_t{1} << 40);
  if (!max_rounds) {
    return usage_error(refusal("--max-rounds", "要是回合数（0：不设上限）", game.max_rounds),
                       command);
  }
  settings.max_rounds = *max_rounds;
  const auto speed = parse_speed(game.speed, kMinSpeed, kMaxSpeed);
  if (!speed)
    return usage_error(refusal("--speed", "要是0.01到1000之间的小数", game.speed), command);
  if (game.odds_empty || (!game.odds.empty() && game.odds != "on" && game.odds != "verbose")) {
    return usage_error(refusal("--odds", "只能不带值，或者写成 --odds=verbose",
                               game.odds_empty ? std::string() : game.odds),
                       command);
  }
  settings.terminal.speed = *speed;
  if (given.record) {
    // Found out before anything is asked, not after the whole game.
    if (game.record.empty()) return usage_error("--record 的文件名不能是空的", command);
    if (const int error = platform::writable(game.record); error != 0)
      return write_failure(typed(game.record) + "：" + system_reason(error));
  }
  return std::nullopt;
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
    say(no_code_text(why) + "，" + typed(path) + " 没有写入");
    return 0;
  }
  const int error = write_file(path, code + "\n");
  return error == 0 ? 0 : write_failure(typed(path) + "：" + system_reason(error));
}

// The code that `source` is, or the text of the file it names ("-": standard input) that holds
// one. Nothing, with the status already given, when there is no such file or it cannot be read.
std::optional<std::string> code_of(const std::string& source, int& status) {
  // A code is at most kMaxCodeLength characters, twice as many bytes in UTF-16; a little more
  // leaves room for the words and blanks around it.
  constexpr std::size_t kMostBytes = 2 * replay::kMaxCodeLength + 4096;
  FileText file;
  if (source.empty()) {
    status = usage_error("回放码或文件名不能是空的", "replay");
    return std::nullopt;
  }
  if (source == "-") {
    file = read_capped(platform::input(), kMostBytes);
  } else if (platform::is_regular_file(source)) {
    file = read_capped(source, kMostBytes);
  } else if (replay::find_code(source, replay::kMaxCodeLength)) {
    return source;
  } else {
    status = refused("找不到文件：" + typed(source));
    return std::nullopt;
  }
  const std::string shown = source == "-" ? "标准输入" : "回放码文件 " + typed(source);
  switch (file.status) {
    case FileText::Status::Read:
      return std::move(file.text);
    case FileText::Status::Unreadable:
      status = refused("读不了" + shown + "：" + system_reason(file.error));
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

std::string seed_line(std::uint32_t seed) {
  return "种子：" + std::to_string(seed);
}

// The closing lines of a game on a terminal: the endless mode's best level, the seed, and the
// command that replays the game alone on its own line under its label, for a triple-click to
// copy.
std::string closing_lines(std::uint32_t seed, const session::Recorded& recorded,
                          std::int32_t best) {
  std::string lines;
  if (best > 0) lines += "最好成绩：第" + std::to_string(best) + "关\n";
  lines += seed_line(seed) + "\n";
  if (recorded.code.empty()) return lines + no_code_text(recorded.no_code);
  return lines + "回放：\nmorvane replay " + recorded.code;
}

// How a game came out, as the session saw it end.
struct Ended {
  std::int32_t mode = 0;
  GameOutcome outcome;
};

// What keeping the game in the history gave: the endless mode's best level (0: none) and, when
// it could not be kept, why (for standard error).
struct Remembered {
  std::int32_t best = 0;
  std::string warning;
};

Remembered remember(const GameCommand& game, std::uint32_t seed, const Ended& ended,
                    const session::Recorded& recorded) {
  if (game.no_history || history::turned_off(std::getenv("MORVANE_NO_HISTORY")) ||
      !ended.outcome.over)
    return {};
  const history::Entry entry{.time = static_cast<std::int64_t>(std::time(nullptr)),
                             .mode = ended.mode,
                             .seed = seed,
                             .teams = history::teams_of(ended.mode, recorded.fight.answers),
                             .winner = ended.outcome.winner,
                             .draw = !ended.outcome.decided,
                             .level = ended.outcome.level,
                             .code = recorded.code};
  const history::Kept kept = history::keep(platform::state_folder(), entry);
  if (kept.error == 0) return {kept.best, {}};
  // The game went well: only its record is missing.
  if (kept.where.empty())
    return {0, "这局没有记入历史：没有存放记录的文件夹（HOME 和 XDG_STATE_HOME 都没有设置）"};
  const std::string why =
      kept.error == EWOULDBLOCK ? "另一个 morvane 一直占着它，等不及了" : system_reason(kept.error);
  return {0, "这局没有记入历史：" + typed(kept.where) + "：" + why};
}

// Plays the game on the console; returns the exit status.
int play(TerminalConsole& console, const GameCommand& game, const Settings& settings) {
  // On a terminal the player is shown the game's code; a piped game writes the rules' bytes
  // only, and its code goes to the --record file if asked for.
  const bool on_terminal = console.output_is_terminal();
  const auto odds = odds_for(game, console, settings.seed);
  if (!on_terminal && game.record.empty()) {
    session::play(console, settings.seed, settings.max_rounds, odds.get());
    console.finish();
    return 0;
  }
  Ended ended;
  const auto seen = [&ended](const Game& g, bool over) {
    if (over) ended = {g.mode, g.outcome};
  };
  const session::Recorded recorded = session::play_recorded(
      console, settings.seed, settings.max_rounds, odds.get(), session::kMaxFightBytes, seen);
  if (!on_terminal) {
    console.finish();
  } else {
    const Remembered remembered = remember(game, settings.seed, ended, recorded);
    console.finish(closing_lines(settings.seed, recorded, remembered.best));
    if (!remembered.warning.empty()) say(remembered.warning);
  }
  return record(game.record, recorded.code, recorded.no_code);
}

}  // namespace

void add_game_options(CLI::App& app, GameCommand& game, bool replay) {
  app.add_option("--seed", game.seed,
                 replay
                     ? "只能省略，或者是回放码里的种子"
                     : "随机种子：十进制整数，可带正负号，按2^32取模；同样的种子和输入重现同一局。"
                       "默认：当前时间")
      ->option_text("N");
  // An empty or missing value is refused here too, with the range, rather than by CLI11.
  app.add_option("--speed", game.speed, "每次停顿除以X：0.01到1000之间的小数，4就是四倍速")
      ->expected(0, 1)
      ->option_text("X");
  app.add_flag("--no-pause", game.terminal.no_pause, "不停顿");
  app.add_option(
         "--color", game.color,
         "颜色。auto（默认）：输出到终端时有颜色，除非设置了NO_COLOR，或TERM是dumb或没有设置")
      ->option_text("auto|always|never");
  app.add_option("--encoding", game.encoding,
                 "终端的文字编码。auto（默认）：按区域设置（locale）的字符集，GBK系的用GBK，"
                 "其余用UTF-8")
      ->option_text("auto|utf-8|gbk");
  app.add_option("--max-rounds", game.max_rounds,
                 replay ? "只能省略，或者是回放码里的回合上限"
                        : "一场战斗过了N回合仍未分出胜负就判为平局（默认" +
                              std::to_string(session::kDefaultMaxRounds) + "；0：不设上限）")
      ->option_text("N");
  app.add_option(
         "--record", game.record,
         replay ? "把这场战斗的回放码再写入文件FILE" : "游戏结束时把这局的回放码写入文件FILE")
      ->option_text("FILE");
  app.add_flag("--odds{on}", game.odds,
               "每回合结束后显示各队此刻的胜率（--odds=verbose：另显示模拟了多少局）")
      ->option_text("[=verbose]");
  app.add_option(
         "--palette", game.palette,
         "终端背景的配色。auto（默认）：按终端告诉的背景（COLORFGBG，或问终端），不知道时"
         "按深色；light：浅色背景上看得清的颜色。输出到管道时，不给这个选项就用原来的颜色码")
      ->option_text("auto|dark|light");
  if (replay) return;
  app.add_flag("--no-history", game.no_history,
               "这局不记入历史记录（也可以设置环境变量MORVANE_NO_HISTORY）");
  app.add_flag(
      "--keep-open", game.keep_open,
      "结束后显示“按任意键关闭”，等按键再退出（从菜单或桌面启动时，窗口不会随游戏一起关掉）");
}

void add_replay(CLI::App& app, ReplayCommand& replay, GameCommand& game,
                const std::string& version) {
  replay.cmd = app.add_subcommand(
      "replay",
      "重放回放码（或存着回放码的文件）里的战斗：写出的字节与原来那局完全一样，什么也不问");
  add_game_options(*replay.cmd, game, true);
  replay.cmd->set_version_flag("--version", version, "显示版本并退出");
  replay.cmd
      ->add_option("code", replay.source, "回放码（MV1-...），或存着回放码的文件（-：标准输入）")
      ->required()
      ->option_text("回放码|文件");
  chinese_help(*replay.cmd, replay_usage(), replay_footer());
}

void note_empty_values(GameCommand& game, const std::vector<std::string>& words) {
  // After "--" every word is an argument.
  const auto end = std::find(words.begin(), words.end(), "--");
  game.odds_empty = std::find(words.begin(), end, "--odds=") != end;
}

int run_game(const GameCommand& game, Given given) {
  Settings settings;
  if (const auto status = check(game, given, settings, {})) return *status;
  int status = 0;
  bool quit = false;
  {
    TerminalConsole console(settings.terminal, platform::input());
    console.farewell(seed_line(settings.seed));
    try {
      status = play(console, game, settings);
    } catch (const QuitAsked&) {
      console.finish(seed_line(settings.seed));
      quit = true;
    }
  }
  // q ends the game as Ctrl-C does, once the terminal is the player's again.
  if (quit) platform::end_by_interrupt();
  return status;
}

int run_replay(const ReplayCommand& replay, const GameCommand& game, Given given) {
  Settings settings;
  if (const auto status = check(game, given, settings, "replay")) return *status;
  int status = 0;
  const std::optional<std::string> code = code_of(replay.source, status);
  if (!code) return status;
  const session::Loaded loaded = session::load(*code);
  if (!loaded.fight) return refused(loaded.message);
  const replay::Fight& fight = *loaded.fight;
  // The code holds the fight's seed and round cap: a different one would be another fight.
  if (given.seed && settings.seed != fight.seed) {
    return usage_error("--seed 只能省略，或者是回放码里的种子" + std::to_string(fight.seed),
                       "replay");
  }
  if (given.max_rounds && settings.max_rounds != fight.max_rounds) {
    return usage_error(
        "--max-rounds 只能省略，或者是回放码里的回合上限" + std::to_string(fight.max_rounds),
        "replay");
  }
  // Every answer comes from the code: the keyboard only paces the fight.
  settings.terminal.prompts = false;
  std::istringstream nothing;
  bool quit = false;
  {
    TerminalConsole console(settings.terminal, nothing);
    const auto odds = odds_for(game, console, fight.seed);
    try {
      session::replay(console, fight, odds.get());
    } catch (const QuitAsked&) {
      quit = true;
    }
    console.finish();
  }
  if (quit) platform::end_by_interrupt();
  return record(game.record, replay::encode(fight));
}

void close_on_a_key() {
  if (!platform::stdin_is_terminal() || !platform::stdout_is_terminal()) return;
  show("按任意键关闭");
  platform::wait_key();
  show("\n");
}

}  // namespace morvane::cli
