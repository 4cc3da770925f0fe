#include "app/highlights_report.hpp"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "app/simulate_json.hpp"

namespace morvane {
namespace {

using Json = nlohmann::ordered_json;

std::string fixed(double value, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, value);
  return buf;
}

std::string winner_text(const Highlight& h) {
  return h.winner == 0 ? "无人生还" : "第" + std::to_string(h.winner) + "队获胜";
}

std::string comeback_text(const Highlight& h) {
  return winner_text(h) + "，但第" + std::to_string(h.lowest_round) + "回合结束时它的胜率只有" +
         fixed(100 * h.lowest_chance, 1) + "%（推演" + std::to_string(h.continuations) +
         "次只赢了" + std::to_string(h.lowest_wins) + "次）";
}

std::string closest_text(const Highlight& h) {
  return winner_text(h) + "，只剩满血的" + fixed(100 * h.hp_share(), 1) + "%（" +
         std::to_string(h.survivors) + "人幸存）";
}

std::string longest_text(const Highlight& h) {
  return "打了" + std::to_string(h.rounds) + "回合，" + winner_text(h);
}

std::string section(const std::string& title, const std::vector<Highlight>& picks,
                    std::string (*figure)(const Highlight&)) {
  std::string out = title + "：\n";
  if (picks.empty()) return out + "  （没有）\n";
  std::size_t place = 0;
  for (const Highlight& h : picks) {
    out += "  " + std::to_string(++place) + ". 种子" + std::to_string(h.seed) + "：" + figure(h) +
           "\n     ";
    out += h.code.empty() ? "（这场战斗太长，没有回放码）" : "morvane replay " + h.code;
    out += "\n";
  }
  return out;
}

}  // namespace

std::string format_highlights(const HighlightsReport& r) {
  const HighlightsConfig& c = r.config;
  std::string lines;
  for (std::size_t k = 0; k < c.lines.size(); ++k)
    lines += (k != 0 ? " 对 " : "") + c.lines[k];
  std::string out = "看了" + std::to_string(r.played) + "场" + std::string(mode_name(c.mode)) +
                    "：" + lines + "（种子" + std::to_string(c.seed) + "起，" +
                    std::to_string(c.threads) + "个线程）\n";
  if (r.interrupted()) {
    out += "已中断：计划" + std::to_string(c.fights) + "场，以下是看完的" +
           std::to_string(r.played) + "场里挑的\n";
  }
  out += section("最大的逆转（最后获胜的一方胜率最低的时候）", r.comebacks, comeback_text);
  out += section("最接近的结局（获胜方剩下的血最少）", r.closest, closest_text);
  out += section("最长的战斗", r.longest, longest_text);
  out += "用时" + fixed(r.seconds, 3) + "秒\n";
  return out;
}

namespace {

Json pick_json(const Highlight& h) {
  Json j = {{"fight", h.fight}, {"seed", h.seed}, {"winner", h.winner}, {"rounds", h.rounds}};
  return j;
}

}  // namespace

std::string format_highlights_json(const HighlightsReport& r) {
  const HighlightsConfig& c = r.config;
  Json j;
  j["mode"] = static_cast<std::int32_t>(c.mode);
  j["seed"] = c.seed;
  j["fights"] = r.played;
  j["max_rounds"] = c.max_rounds;
  j["threads"] = c.threads;
  Json lines = Json::array();
  for (const std::string& line : c.lines)
    lines.push_back(valid_utf8(line));
  j["lines"] = std::move(lines);
  j["judged_rounds"] = kJudgedRounds;
  const auto code = [](const Highlight& h) { return h.code.empty() ? Json() : Json(h.code); };
  Json comebacks = Json::array(), closest = Json::array(), longest = Json::array();
  for (const Highlight& h : r.comebacks) {
    Json p = pick_json(h);
    p["lowest_chance"] = h.lowest_chance;
    p["at_round"] = h.lowest_round;
    p["wins"] = h.lowest_wins;
    p["continuations"] = h.continuations;
    p["code"] = code(h);
    comebacks.push_back(std::move(p));
  }
  for (const Highlight& h : r.closest) {
    Json p = pick_json(h);
    p["hp_left"] = h.hp_left;
    p["full_hp"] = h.full_hp;
    p["share"] = h.hp_share();
    p["survivors"] = h.survivors;
    p["code"] = code(h);
    closest.push_back(std::move(p));
  }
  for (const Highlight& h : r.longest) {
    Json p = pick_json(h);
    p["code"] = code(h);
    longest.push_back(std::move(p));
  }
  j["comebacks"] = std::move(comebacks);
  j["closest"] = std::move(closest);
  j["longest"] = std::move(longest);
  j["seconds"] = r.seconds;
  j["interrupted"] = r.interrupted();
  if (r.interrupted()) j["fights_planned"] = c.fights;
  return j.dump() + "\n";
}

}  // namespace morvane
