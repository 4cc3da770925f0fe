// The twelve fixed names that make a typed fighter a named character.

#include <array>
#include <string_view>

#include "model/wrap.hpp"
#include "modes/setup.hpp"

namespace morvane {
namespace {

// hp, atk and def scaled in place, each as field * a / b (a doubling is * 2 / 1).
struct Scale {
  std::int32_t hp_a, hp_b, atk_a, atk_b, def_a, def_b;
};

// New draws for all four values, or hp, atk and def scaled.
struct Change {
  bool redraw;
  StatRanges draws;
  Scale scale;
};

constexpr Change redraw(StatRanges r) {
  return {true, r, {}};
}
constexpr Change scale(Scale s) {
  return {false, {}, s};
}

struct NamedCharacter {
  std::string_view name;
  std::int32_t attribute;
  Change inner;    // the name ended by a '/'
  Change closing;  // the last name of its line
};

constexpr Change kHighborn = redraw({1000, 2000, 100, 200, 100, 100, 120, 40});
constexpr Change kFranklinCrew = redraw(kCrewRanges);
constexpr Change kFourThirds = scale({4, 3, 4, 3, 4, 3});
constexpr Change kUnchanged = scale({1, 1, 1, 1, 1, 1});

constexpr std::array<NamedCharacter, 12> kNamed = {{
    {"tessik", 9, kHighborn, redraw({1000, 2000, 100, 200, 150, 100, 120, 40})},
    {"Varqueb", 10, kHighborn, redraw({750, 1500, 100, 100, 75, 60, 90, 30})},
    {"Prane", 11, scale({2, 1, 3, 2, 2, 1}), scale({2, 1, 3, 2, 3, 2})},
    {"Halvic", 12, scale({3, 2, 5, 4, 3, 2}), scale({3, 2, 5, 4, 3, 2})},
    {"vmrqtoa4817", 14, kFourThirds, kFourThirds},
    {"w_k", 15, kFourThirds, kFourThirds},
    {"杰哥", 16, scale({2, 1, 3, 2, 3, 2}), scale({2, 1, 3, 2, 3, 2})},
    {"指挥官", 17, kUnchanged, kUnchanged},
    {"mossu_ka", 21, scale({3, 2, 4, 3, 4, 3}), scale({3, 2, 4, 3, 4, 3})},
    {"富兰克林", 22, kFranklinCrew, kFranklinCrew},
    {"麦克", 23, kFranklinCrew, kFranklinCrew},
    {"崔佛", 24, kFranklinCrew, kFranklinCrew},
}};

}  // namespace

void apply_named_character(Game& g, std::string_view name, Position position, Stats& stats,
                           std::int32_t& attribute) {
  for (const NamedCharacter& named : kNamed) {
    if (name != named.name) continue;
    const Change& change = position == Position::Inner ? named.inner : named.closing;
    if (change.redraw) {
      stats = change.draws.draw(g);
    } else {
      const Scale& s = change.scale;
      stats.hp = wmuldiv(stats.hp, s.hp_a, s.hp_b);
      stats.atk = wmuldiv(stats.atk, s.atk_a, s.atk_b);
      stats.def = wmuldiv(stats.def, s.def_a, s.def_b);
    }
    attribute = named.attribute;
    return;
  }
}

}  // namespace morvane
