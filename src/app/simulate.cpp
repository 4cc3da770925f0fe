#include "app/simulate.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "app/json_limits.hpp"
#include "console/quiet_console.hpp"
#include "console/unicode.hpp"
#include "mechanics/checks.hpp"
#include "model/game.hpp"
#include "model/random.hpp"
#include "model/slots.hpp"
#include "modes/round.hpp"
#include "modes/setup.hpp"

namespace morvane {
namespace {

// A report is written with its keys in a fixed order, and read back in any order.
using Json = nlohmann::ordered_json;
using ReadJson = nlohmann::json;

struct Tally {
  std::vector<std::int64_t> wins;
  std::int64_t played = 0, no_winner = 0, cut = 0, total_rounds = 0, most_rounds = 0;
};

// A game given up half-way because the run was asked to stop.
struct Stopped {};

// Looks at the stop flag at every round's end, so that a battle of millions of rounds does not
// hold up Ctrl-C: one relaxed load a round, next to nothing beside the round itself.
class StopCheck final : public RoundListener {
 public:
  explicit StopCheck(const std::atomic<bool>& stop) : stop_(stop) {}
  void round_ended(const Game&, const BattleState&) override {
    if (stop_.load(std::memory_order_relaxed)) throw Stopped{};
  }

 private:
  const std::atomic<bool>& stop_;
};

// One worker: its own game, reset between matches, so no game shares anything with another.
class Player {
 public:
  Player(const SimulationConfig& config, const std::atomic<bool>* stop)
      : config_(config), random_(0), game_(std::make_unique<Game>(console_, random_)) {
    tally_.wins.assign(config.lines.size(), 0);
    // Nobody watches: the rules skip their narration altogether.
    game_->silent = true;
    if (stop != nullptr) {
      stop_check_.emplace(*stop);
      game_->on_round_end = &*stop_check_;
    }
    for (const std::string& line : config.lines)
      teams_.push_back(split_team(line));
  }

  void play(std::int64_t i) {
    Game& g = *game_;
    g.reset();
    random_.srand(config_.seed + static_cast<std::uint32_t>(i));
    g.n = static_cast<std::int32_t>(teams_.size());
    for (std::int32_t t = 1; t <= g.n; ++t) {
      add_team(g, t, teams_[static_cast<std::size_t>(t - 1)], config_.mode);
    }
    if (config_.mode == 2) dark_match(g);
    g.max_rounds = config_.max_rounds;

    const bool started = !checkwin(g);
    const bool decided = game(g);  // or Stopped: then the game counts nowhere
    ++tally_.played;
    // A battle ends inside the round it is decided in, before the round counter moves on.
    const std::int64_t rounds = !decided ? config_.max_rounds : started ? g.hhs : 0;
    tally_.total_rounds += rounds;
    tally_.most_rounds = std::max(tally_.most_rounds, rounds);
    if (!decided) {
      ++tally_.cut;
      return;
    }
    const std::int32_t t = winner(g);
    if (t == 0) {
      ++tally_.no_winner;
    } else if (t <= static_cast<std::int32_t>(tally_.wins.size())) {
      ++tally_.wins[static_cast<std::size_t>(t - 1)];
    }
  }

  const Tally& tally() const { return tally_; }

 private:
  const SimulationConfig& config_;
  QuietConsole console_;
  Lcg random_;
  std::unique_ptr<Game> game_;
  std::optional<StopCheck> stop_check_;
  std::vector<std::vector<TeamMember>> teams_;  // the lines cut into names once
  Tally tally_;
};

std::string percent(double share) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%", 100.0 * share);
  return buf;
}

std::string fixed(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, value);
  return buf;
}

double share(std::int64_t part, std::int64_t whole) {
  return whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
}

std::string range_text(const GameRange& r) {
  return r.first == r.second
             ? "第" + std::to_string(r.first) + "局"
             : "第" + std::to_string(r.first) + "～" + std::to_string(r.second) + "局";
}

// What a report covers, after the mode: the seed and, unless it is a plain run from game 0, the
// games.
std::string coverage(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out = "种子" + std::to_string(c.seed);
  if (r.shards > 0) {
    out += "，";
    for (std::size_t k = 0; k < r.ranges.size(); ++k)
      out += (k != 0 ? "、" : "") + range_text(r.ranges[k]);
  } else if (c.first_game != 0) {
    out += "，" + range_text({c.first_game, c.first_game + c.games - 1});
  } else {
    out += "起";
  }
  return out;
}

}  // namespace

double SimulationReport::mean_rounds() const {
  return share(total_rounds, played);
}

double SimulationReport::games_per_second() const {
  return seconds > 0 ? static_cast<double>(played) / seconds : 0.0;
}

Interval wilson(std::int64_t successes, std::int64_t trials) {
  if (trials <= 0) return {0, 0};
  const double z = 1.959963984540054;
  const double n = static_cast<double>(trials);
  const double p = static_cast<double>(successes) / n;
  const double denominator = 1 + z * z / n;
  const double centre = (p + z * z / (2 * n)) / denominator;
  const double half = z * std::sqrt(p * (1 - p) / n + z * z / (4 * n * n)) / denominator;
  return {std::max(0.0, centre - half), std::min(1.0, centre + half)};
}

SimulationReport simulate(const SimulationConfig& config,
                          const std::function<void(std::int64_t)>& progress,
                          const std::atomic<bool>* stop) {
  const auto start = std::chrono::steady_clock::now();
  const unsigned threads =
      static_cast<unsigned>(std::clamp<std::int64_t>(config.threads, 1, config.games));
  std::atomic<std::int64_t> next{0};
  std::atomic<std::int64_t> done{0};
  std::mutex merge;
  SimulationReport report;
  report.config = config;
  report.config.threads = threads;
  report.wins.assign(config.lines.size(), 0);
  const auto stopped = [stop] { return stop != nullptr && stop->load(std::memory_order_relaxed); };

  auto work = [&] {
    Player player(config, stop);
    // Games are handed out in small batches: one atomic step per batch, not per game.
    constexpr std::int64_t kBatch = 64;
    for (;;) {
      const std::int64_t first = next.fetch_add(kBatch);
      if (first >= config.games) break;
      const std::int64_t last = std::min(first + kBatch, config.games);
      std::int64_t i = first;
      try {
        for (; i < last && !stopped(); ++i)
          player.play(config.first_game + i);
      } catch (const Stopped&) {
        // Game i is left unfinished.
      }
      done.fetch_add(i - first);
      if (i < last) break;
    }
    const Tally& t = player.tally();
    std::lock_guard lock(merge);
    for (std::size_t k = 0; k < t.wins.size(); ++k)
      report.wins[k] += t.wins[k];
    report.played += t.played;
    report.no_winner += t.no_winner;
    report.cut += t.cut;
    report.total_rounds += t.total_rounds;
    report.most_rounds = std::max(report.most_rounds, t.most_rounds);
  };

  std::vector<std::thread> workers;
  for (unsigned k = 1; k < threads; ++k)
    workers.emplace_back(work);
  if (progress) {
    // The calling thread reports progress while the workers play.
    std::thread last(work);
    while (done.load() < config.games && !stopped()) {
      progress(done.load());
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    last.join();
    progress(done.load());
  } else {
    work();
  }
  for (std::thread& w : workers)
    w.join();

  report.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return report;
}

std::string format_report(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::string out = r.shards > 0 ? "合并" + std::to_string(r.shards) + "个分片：" : "";
  out += "模拟了" + std::to_string(r.played) + "局" +
         (c.mode == 2 ? "疯狂阿瓦达模式" : "正常模式") + "（" + coverage(r);
  if (r.shards == 0) out += "，" + std::to_string(c.threads) + "个线程";
  out += "）\n";
  if (r.interrupted()) {
    out += "已中断：计划" + std::to_string(c.games) + "局，以下是完成的" +
           std::to_string(r.played) + "局\n";
  }
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    const Interval ci = wilson(r.wins[k], r.played);
    out += "第" + std::to_string(k + 1) + "队 " + c.lines[k] + "：胜" + std::to_string(r.wins[k]) +
           "局，胜率" + percent(share(r.wins[k], r.played)) + "（95%置信区间 " + percent(ci.low) +
           " ~ " + percent(ci.high) + "）\n";
  }
  out += "无人生还：" + std::to_string(r.no_winner) + "局\n";
  out += "超过" + std::to_string(c.max_rounds) + "回合未分胜负：" + std::to_string(r.cut) + "局\n";
  out += "平均回合数：" + fixed(r.mean_rounds(), 2) + "，最多：" + std::to_string(r.most_rounds) +
         "回合\n";
  if (r.shards > 0) {
    out += "各分片用时合计" + fixed(r.seconds, 3) + "秒\n";
  } else {
    out +=
        "速度：每秒" + fixed(r.games_per_second(), 0) + "局（用时" + fixed(r.seconds, 3) + "秒）\n";
  }
  return out;
}

std::string valid_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const unicode::Decoded d = unicode::decode_utf8(text);
    if (d.length == 0) {
      unicode::append_utf8(out, unicode::kReplacement);
      text.remove_prefix(1);
    } else {
      out.append(text.substr(0, d.length));
      text.remove_prefix(d.length);
    }
  }
  return out;
}

std::string format_json(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  Json j;
  j["mode"] = c.mode;
  j["seed"] = c.seed;
  j["first_game"] = c.first_game;
  j["games"] = r.played;
  j["threads"] = c.threads;
  j["max_rounds"] = c.max_rounds;
  Json teams = Json::array();
  for (std::size_t k = 0; k < r.wins.size(); ++k) {
    const Interval ci = wilson(r.wins[k], r.played);
    teams.push_back({{"team", k + 1},
                     {"line", valid_utf8(c.lines[k])},
                     {"wins", r.wins[k]},
                     {"win_rate", share(r.wins[k], r.played)},
                     {"ci95_low", ci.low},
                     {"ci95_high", ci.high}});
  }
  j["teams"] = std::move(teams);
  j["no_winner"] = r.no_winner;
  j["cut"] = r.cut;
  j["total_rounds"] = r.total_rounds;
  j["mean_rounds"] = r.mean_rounds();
  j["most_rounds"] = r.most_rounds;
  j["games_per_second"] = r.games_per_second();
  j["seconds"] = r.seconds;
  j["interrupted"] = r.interrupted();
  if (r.interrupted()) j["games_planned"] = c.games;
  if (r.shards > 0) {
    j["shards"] = r.shards;
    j["ranges"] = r.ranges;
  }
  return j.dump() + "\n";
}

namespace {

// Reading a report back. Every figure is checked against the others, so that a merge of what
// parses is a report that one run could have printed.
class Reader {
 public:
  explicit Reader(const ReadJson& j) : j_(j) {}

  std::int64_t integer(const char* key, std::int64_t min, std::int64_t max) {
    return integer_of(j_, key, min, max);
  }
  std::int64_t integer_of(const ReadJson& object, const char* key, std::int64_t min,
                          std::int64_t max) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) return fail(key, "不是整数");
    std::int64_t v = 0;
    if (it->is_number_unsigned()) {
      const auto u = it->get<std::uint64_t>();
      if (u > static_cast<std::uint64_t>(max)) return fail(key, "超出范围");
      v = static_cast<std::int64_t>(u);
    } else {
      v = it->get<std::int64_t>();
    }
    if (v < min || v > max) return fail(key, "超出范围");
    return v;
  }
  double number(const char* key) {
    const auto it = j_.find(key);
    if (it == j_.end() || !it->is_number() || !std::isfinite(it->get<double>()) ||
        it->get<double>() < 0) {
      fail(key, "不是非负数");
      return 0;
    }
    return it->get<double>();
  }
  std::int64_t fail(const std::string& key, const std::string& why) {
    if (error.empty()) error = "“" + key + "”" + why;
    return 0;
  }

  std::string error;

 private:
  const ReadJson& j_;
};

// A report's figures and teams, each checked for its type and range; the first fault is left
// in `in.error`. Returns whether the report says it was interrupted.
bool read_figures(const ReadJson& j, Reader& in, SimulationReport& r) {
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  SimulationConfig& c = r.config;
  c.mode = static_cast<std::int32_t>(in.integer("mode", 1, 2));
  c.seed = static_cast<std::uint32_t>(in.integer("seed", 0, kSeeds - 1));
  c.first_game = in.integer("first_game", 0, kSeeds - 1);
  r.played = c.games = in.integer("games", 1, kSeeds);
  c.threads = static_cast<unsigned>(in.integer("threads", 1, 1024));
  c.max_rounds = in.integer("max_rounds", 1, kMax);
  r.no_winner = in.integer("no_winner", 0, kSeeds);
  r.cut = in.integer("cut", 0, kSeeds);
  r.total_rounds = in.integer("total_rounds", 0, kMax);
  r.most_rounds = in.integer("most_rounds", 0, kMax);
  r.seconds = in.number("seconds");
  const auto interrupted = j.find("interrupted");
  const bool marked = interrupted != j.end() && interrupted->is_boolean();
  if (!marked) in.fail("interrupted", "不是true或false");
  const auto teams = j.find("teams");
  if (teams == j.end() || !teams->is_array() || teams->empty() ||
      teams->size() > static_cast<std::size_t>(kMaxSlot)) {
    in.fail("teams", "不是1～1004个队伍的列表");
    return false;
  }
  for (const ReadJson& team : *teams) {
    const auto line = team.is_object() ? team.find("line") : team.end();
    if (line == team.end() || !line->is_string()) {
      in.fail("line", "不是字符串");
      return false;
    }
    c.lines.push_back(line->get<std::string>());
    r.wins.push_back(in.integer_of(team, "wins", 0, kSeeds));
  }
  return marked && interrupted->get<bool>();
}

// Why a report's figures cannot all be true together; empty when they can.
std::string inconsistency(const SimulationReport& r) {
  const SimulationConfig& c = r.config;
  std::int64_t decided = r.no_winner + r.cut;
  for (const std::int64_t w : r.wins)
    decided += w;
  if (decided != r.played) return "各队胜局、无人生还和未分胜负加起来不等于局数";
  if (c.first_game + c.games > kSeeds) return "局的编号超过了2^32";
  if (r.most_rounds > c.max_rounds) return "最多回合数超过了回合上限";
  // total_rounds <= most_rounds * played, without the product (it may not fit in 64 bits)
  if (r.total_rounds > 0 &&
      (r.most_rounds == 0 || (r.total_rounds - 1) / r.most_rounds >= r.played)) {
    return "总回合数超过了局数乘最多回合数";
  }
  return {};
}

// The games a report covers: the ranges a merged report lists, else the run's one range.
std::vector<GameRange> covered_ranges(const SimulationReport& r) {
  if (!r.ranges.empty()) return r.ranges;
  return {{r.config.first_game, r.config.first_game + r.played - 1}};
}

// The ranges of games a report covers: a merged report lists them, a plain run covers one.
// Returns the fault, or empty.
std::string read_ranges(const ReadJson& j, SimulationReport& r) {
  SimulationConfig& c = r.config;
  const auto ranges = j.find("ranges");
  if (ranges == j.end()) {
    r.ranges = covered_ranges(r);
    return {};
  }
  std::int64_t covered = 0, after = 0;
  if (!ranges->is_array() || ranges->empty()) return "“ranges”不是局的范围列表";
  for (const ReadJson& range : *ranges) {
    if (!range.is_array() || range.size() != 2 || !range[0].is_number_integer() ||
        !range[1].is_number_integer()) {
      return "“ranges”不是局的范围列表";
    }
    const auto first = range[0].get<std::int64_t>(), last = range[1].get<std::int64_t>();
    if (first < after || last < first || last >= kSeeds) return "“ranges”的范围不按顺序或超出2^32";
    r.ranges.emplace_back(first, last);
    covered += last - first + 1;
    after = last + 1;
  }
  if (covered != r.played) return "“ranges”覆盖的局数不等于局数";
  c.first_game = r.ranges.front().first;
  r.shards = 1;
  return {};
}

}  // namespace

ParsedReport parse_report(std::string_view text) {
  // Bounded before a tree is built.
  if (std::string fault = json_fault(text); !fault.empty()) return {std::nullopt, std::move(fault)};
  const ReadJson j = ReadJson::parse(text, nullptr, false);
  if (j.is_discarded()) return {std::nullopt, "不是JSON"};
  if (!j.is_object()) return {std::nullopt, "不是模拟结果（JSON对象）"};
  Reader in(j);
  SimulationReport r;
  const bool interrupted = read_figures(j, in, r);
  if (!in.error.empty()) return {std::nullopt, in.error};
  if (interrupted) return {std::nullopt, "是中断了的模拟，它完成的不是连续的一段局"};
  std::string fault = inconsistency(r);
  if (fault.empty()) fault = read_ranges(j, r);
  if (!fault.empty()) return {std::nullopt, std::move(fault)};
  return {std::move(r), {}};
}

MergedReport merge_reports(const std::vector<SimulationReport>& shards) {
  if (shards.empty()) return {std::nullopt, "没有分片"};
  const SimulationConfig& c0 = shards.front().config;
  SimulationReport m;
  m.config = c0;
  m.config.threads = 1;
  m.wins.assign(c0.lines.size(), 0);
  std::vector<std::pair<GameRange, std::size_t>> ranges;  // and the shard each came from
  for (std::size_t k = 0; k < shards.size(); ++k) {
    const SimulationReport& s = shards[k];
    const std::string which = "第" + std::to_string(k + 1) + "个分片";
    if (s.config.lines != c0.lines) return {std::nullopt, which + "的队伍和第1个不同"};
    if (s.config.mode != c0.mode) return {std::nullopt, which + "的模式和第1个不同"};
    if (s.config.max_rounds != c0.max_rounds) {
      return {std::nullopt, which + "的回合上限（--max-rounds）和第1个不同"};
    }
    if (s.config.seed != c0.seed) return {std::nullopt, which + "的种子（--seed）和第1个不同"};
    if (s.interrupted()) return {std::nullopt, which + "是中断了的模拟"};
    if (s.wins.size() != c0.lines.size()) return {std::nullopt, which + "的队伍数不对"};
    for (std::size_t t = 0; t < s.wins.size(); ++t)
      m.wins[t] += s.wins[t];
    m.played += s.played;
    m.no_winner += s.no_winner;
    m.cut += s.cut;
    // Both are at least 0: a report's figures are checked as it is read.
    if (s.total_rounds > std::numeric_limits<std::int64_t>::max() - m.total_rounds) {
      return {std::nullopt, "总回合数太大"};
    }
    m.total_rounds += s.total_rounds;
    m.most_rounds = std::max(m.most_rounds, s.most_rounds);
    m.seconds += s.seconds;
    for (const GameRange& r : covered_ranges(s))
      ranges.push_back({r, k});
  }
  std::sort(ranges.begin(), ranges.end());
  for (std::size_t k = 0; k < ranges.size(); ++k) {
    const auto& [r, shard] = ranges[k];
    if (k != 0 && r.first <= ranges[k - 1].first.second) {
      const std::size_t other = ranges[k - 1].second;
      const std::int64_t last = std::min(r.second, ranges[k - 1].first.second);
      return {std::nullopt, "第" + std::to_string(std::min(shard, other) + 1) + "个和第" +
                                std::to_string(std::max(shard, other) + 1) + "个分片都有" +
                                range_text({r.first, last})};
    }
    if (!m.ranges.empty() && m.ranges.back().second + 1 == r.first) {
      m.ranges.back().second = r.second;  // ranges that meet become one
    } else {
      m.ranges.push_back(r);
    }
  }
  m.config.first_game = m.ranges.front().first;
  m.config.games = m.played;
  m.shards = static_cast<std::int64_t>(shards.size());
  return {std::move(m), {}};
}

}  // namespace morvane
