#include "app/history.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <nlohmann/json.hpp>

#include "app/cli.hpp"
#include "app/json_limits.hpp"
#include "app/simulate_json.hpp"
#include "console/unicode.hpp"
#include "model/codes.hpp"
#include "modes/mode.hpp"
#include "terminal/platform.hpp"

namespace morvane::history {
namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

// A team match's lines shown in an entry, and the characters of each.
constexpr std::size_t kTeamsShown = 8;
constexpr std::size_t kCharactersShown = 24;
// A file past this is no history of ours: left alone.
constexpr std::size_t kMostBytes = std::size_t{64} << 20;

std::string in_folder(const std::string& folder, std::string_view name) {
  return folder + kSeparator + std::string(name);
}

// At most kCharactersShown characters of a line, then "…"; bytes that are no UTF-8 become U+FFFD.
std::string shortened(std::string_view line) {
  const std::string text = valid_utf8(line);
  std::string_view rest = text;
  std::size_t characters = 0;
  while (!rest.empty() && characters < kCharactersShown) {
    rest.remove_prefix(std::max<std::size_t>(unicode::decode_utf8(rest).length, 1));
    ++characters;
  }
  if (rest.empty()) return text;
  return text.substr(0, text.size() - rest.size()) + "…";
}

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The file at `path` opened as std::fopen does, unless it is a FIFO or a device (put there by
// mistake or by someone else): opening a FIFO would hold the game at its end until someone
// opened the other side, and a device can be read without end. nullptr with errno set.
std::FILE* open_plain(const std::string& path, const char* how) {
  if (platform::is_fifo_or_device(path)) {
    errno = EINVAL;
    return nullptr;
  }
  return platform::open_file(path, how);
}

// Writes `text` to the file at `path` ("ab": after what is there; "wb": instead of it). 0, or
// the error number.
int write_to(const std::string& path, const char* how, std::string_view text) {
  std::FILE* file = open_plain(path, how);
  if (file == nullptr) return errno;
  int error = std::fwrite(text.data(), 1, text.size(), file) == text.size() ? 0 : errno;
  if (std::fclose(file) != 0 && error == 0) error = errno;
  return error;
}

// The file's text, at most `most` bytes of it.
cli::FileText read_text(const std::string& path, std::size_t most) {
  if (platform::is_fifo_or_device(path)) return {cli::FileText::Status::Unreadable, {}, EINVAL};
  return cli::read_capped(path, most);
}

std::string when(std::int64_t seconds) {
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
#ifdef _WIN32
  const bool known = localtime_s(&local, &time) == 0;
#else
  const bool known = localtime_r(&time, &local) != nullptr;
#endif
  char text[32] = "?";
  if (known) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
  return text;
}

std::string outcome_of(const Entry& e) {
  if (e.mode == static_cast<std::int32_t>(Mode::Endless))
    return "挑战到第" + std::to_string(e.level) + "关";
  if (e.draw) return "平局（超过回合上限）";
  if (e.winner == 0) return "无人生还";
  if (e.mode == static_cast<std::int32_t>(Mode::AuthorChallenge))
    return e.winner == 1 ? "挑战者胜利" : "作者胜利";
  return "第" + std::to_string(e.winner) + "队胜利";
}

// Whether `text` is made as a replay code is: "MV1-" and base64url. The listing shows it after
// "morvane replay " for the player to copy and run: a space, a quote, a ; or a line end in it
// would make the command another.
bool looks_like_code(std::string_view text) {
  constexpr std::string_view kStart = "MV1-";
  if (!text.starts_with(kStart)) return false;
  return std::all_of(text.begin() + kStart.size(), text.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
  });
}

template <typename Number>
bool read_number(const nlohmann::json& j, const char* key, Number& into, Number least,
                 Number most) {
  if (!j.contains(key)) return true;
  const nlohmann::json& v = j.at(key);
  if (!v.is_number_integer()) return false;
  const auto value = v.get<std::int64_t>();
  if (value < static_cast<std::int64_t>(least) || value > static_cast<std::int64_t>(most))
    return false;
  into = static_cast<Number>(value);
  return true;
}

}  // namespace

std::vector<std::string> teams_of(std::int32_t mode, const std::vector<replay::Answer>& answers) {
  if (mode == static_cast<std::int32_t>(Mode::TeamMatch) ||
      mode == static_cast<std::int32_t>(Mode::DarkMatch)) {
    std::vector<std::string> teams;
    std::size_t lines = 0;
    for (const replay::Answer& a : answers) {
      if (a.is_number) continue;
      if (++lines <= kTeamsShown) teams.push_back(shortened(a.text));
    }
    if (lines > kTeamsShown) teams.push_back("…共" + std::to_string(lines) + "队");
    return teams;
  }
  // The attributes the prompts took: the numbers of 0 ... 33 after the mode's, the author's own
  // 33 as the creeper's 13.
  const bool endless = mode == static_cast<std::int32_t>(Mode::Endless);
  const std::size_t wanted = endless ? 1 : 3;
  std::string chosen;
  std::size_t found = 0;
  for (std::size_t k = 1; k < answers.size() && found < wanted; ++k) {
    const replay::Answer& a = answers[k];
    if (!a.is_number || a.number < attribute::kNone || a.number > attribute::kAuthor) continue;
    if (found++ > 0) chosen += '/';
    chosen += std::to_string(a.number == attribute::kAuthor ? attribute::kCreeper : a.number);
  }
  return {std::string(endless ? "你" : "挑战者") + "（属性" + chosen + "）"};
}

std::string line_of(const Entry& e) {
  nlohmann::ordered_json j;
  j["time"] = e.time;
  j["mode"] = e.mode;
  j["seed"] = e.seed;
  j["teams"] = e.teams;
  if (e.mode == static_cast<std::int32_t>(Mode::Endless)) {
    j["level"] = e.level;
    j["best"] = e.best;
  } else {
    j["winner"] = e.winner;
    if (e.draw) j["draw"] = true;
  }
  if (!e.code.empty()) j["code"] = e.code;
  return j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::optional<Entry> entry_of(std::string_view line) {
  // A line of our own is a few hundred bytes, and a kept code at most kLongestCodeKept.
  if (line.size() > kLongestCodeKept + 4096) return std::nullopt;
  // An entry is an object of a few numbers and strings, with one array of strings.
  if (!json_fault(line, {.depth = 2, .values = 64}).empty()) return std::nullopt;
  const nlohmann::json j = nlohmann::json::parse(line, nullptr, false);
  if (!j.is_object() || !j.contains("time") || !j.contains("mode") || !j.contains("seed"))
    return std::nullopt;
  Entry e;
  constexpr std::int32_t kMostLevel = 1 << 30;
  if (!read_number<std::int64_t>(j, "time", e.time, 0, std::int64_t{1} << 40) ||
      !read_number<std::int32_t>(j, "mode", e.mode, 1, 4) ||
      !read_number<std::uint32_t>(j, "seed", e.seed, 0, UINT32_MAX) ||
      !read_number<std::int32_t>(j, "winner", e.winner, 0, kMostLevel) ||
      !read_number<std::int32_t>(j, "level", e.level, 0, kMostLevel) ||
      !read_number<std::int32_t>(j, "best", e.best, 0, kMostLevel))
    return std::nullopt;
  if (j.contains("draw")) {
    if (!j["draw"].is_boolean()) return std::nullopt;
    e.draw = j["draw"].get<bool>();
  }
  const nlohmann::json& teams = j.contains("teams") ? j["teams"] : nlohmann::json::array();
  if (!teams.is_array() || teams.size() > kTeamsShown + 1) return std::nullopt;
  for (const nlohmann::json& team : teams) {
    // A team is one line as typed: a line end in it would make a line of the listing of its own,
    // one that could pass for a command.
    if (!team.is_string() || team.get_ref<const std::string&>().find('\n') != std::string::npos)
      return std::nullopt;
    e.teams.push_back(team.get<std::string>());
  }
  if (j.contains("code")) {
    if (!j["code"].is_string() || !looks_like_code(j["code"].get_ref<const std::string&>()))
      return std::nullopt;
    e.code = j["code"].get<std::string>();
  }
  return e;
}

bool turned_off(const char* no_history) {
  return no_history != nullptr && *no_history != '\0';
}

std::int32_t best_level(const std::vector<Entry>& entries) {
  std::int32_t best = 0;
  for (const Entry& e : entries) {
    if (e.mode == static_cast<std::int32_t>(Mode::Endless))
      best = std::max({best, e.level, e.best});
  }
  return best;
}

Kept keep(const std::string& folder, Entry entry) {
  Kept kept;
  const auto failed = [&kept](int error, std::string where) {
    kept.error = error;
    kept.where = std::move(where);
    return kept;
  };
  if (folder.empty()) return failed(ENOENT, {});
  if (const int error = platform::make_folders(folder); error != 0) return failed(error, folder);
  const std::string lock_file = in_folder(folder, "history.lock");
  const platform::FileLock lock(lock_file, kLockWaitMs);
  if (lock.error() != 0) return failed(lock.error(), lock_file);
  const std::string file = in_folder(folder, "history.jsonl");
  const cli::FileText text = read_text(file, kMostBytes);
  if (text.status == cli::FileText::Status::TooLarge) return failed(EFBIG, file);
  if (text.status == cli::FileText::Status::Unreadable && text.error != ENOENT)
    return failed(text.error, file);
  const std::vector<std::string_view> lines = lines_of(text.text);
  if (entry.mode == static_cast<std::int32_t>(Mode::Endless)) {
    std::vector<Entry> entries;
    for (const std::string_view line : lines) {
      if (auto e = entry_of(line)) entries.push_back(std::move(*e));
    }
    entry.best = std::max(best_level(entries), entry.level);
  }
  if (entry.code.size() > kLongestCodeKept) entry.code.clear();
  kept.best = entry.best;
  const std::string line = line_of(entry) + "\n";
  if (lines.size() < kKept) {
    // A last line cut short (a disk that filled up) stays a line of its own.
    const bool ended = text.text.empty() || text.text.back() == '\n';
    if (const int error = write_to(file, "ab", ended ? line : "\n" + line); error != 0)
      return failed(error, file);
    return kept;
  }
  // The oldest go: the rest is written beside the file, then put in its place in one step.
  std::string rest;
  for (std::size_t k = lines.size() - (kKept - 1); k < lines.size(); ++k) {
    rest += lines[k];
    rest += '\n';
  }
  const std::string fresh = in_folder(folder, "history.jsonl.new");
  if (const int error = write_to(fresh, "wb", rest + line); error != 0) {
    std::remove(fresh.c_str());
    return failed(error, fresh);
  }
  if (const int error = platform::replace_file(fresh, file); error != 0) return failed(error, file);
  return kept;
}

Read read(const std::string& folder) {
  Read r;
  if (folder.empty()) {
    r.error = ENOENT;
    return r;
  }
  r.file = in_folder(folder, "history.jsonl");
  const cli::FileText text = read_text(r.file, kMostBytes);
  if (text.status == cli::FileText::Status::TooLarge) r.error = EFBIG;
  if (text.status == cli::FileText::Status::Unreadable) r.error = text.error;
  if (r.error != 0) return r;
  const std::vector<std::string_view> lines = lines_of(text.text);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (auto e = entry_of(lines[k])) {
      r.entries.push_back(std::move(*e));
    } else if (!lines[k].empty()) {
      r.damaged.push_back(k + 1);
    }
  }
  return r;
}

std::string listing(const std::vector<Entry>& entries, std::size_t count) {
  std::string out;
  const std::size_t first = entries.size() > count ? entries.size() - count : 0;
  for (std::size_t k = first; k < entries.size(); ++k) {
    const Entry& e = entries[k];
    std::string teams;
    for (const std::string& team : e.teams)
      teams += (teams.empty() ? "" : " 对 ") + team;
    out += when(e.time) + "  " + std::string(mode_name(static_cast<Mode>(e.mode))) + "  种子" +
           std::to_string(e.seed) + "  " + teams + "  " + outcome_of(e) + "\n";
    out += e.code.empty() ? "（没有回放码）\n" : "morvane replay " + e.code + "\n";
  }
  if (const std::int32_t best = best_level(entries); best > 0)
    out += "无尽模式最好成绩：第" + std::to_string(best) + "关\n";
  return out;
}

}  // namespace morvane::history
