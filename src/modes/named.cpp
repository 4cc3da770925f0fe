// The twelve fixed names that make a typed fighter a named character.

#include <array>
#include <string_view>

#include "model/wrap.hpp"
#include "modes/setup.hpp"

namespace morvane {
namespace {

// field = field * a, then field = field / b, each step stored.
void scale(std::int32_t& field, std::int32_t a, std::int32_t b) {
  field = wmul(field, a);
  field = field / b;
}

struct Redraw {  // hp, atk, def, ml = rand() % span + base, in this order
  std::int32_t hp_span, hp_base, atk_span, atk_base, def_span, def_base, ml_span, ml_base;
};

void redraw(Game& g, rw& x, const Redraw& r) {
  x.hp = g.rand() % r.hp_span + r.hp_base;
  x.atk = g.rand() % r.atk_span + r.atk_base;
  x.def = g.rand() % r.def_span + r.def_base;
  x.ml = g.rand() % r.ml_span + r.ml_base;
}

constexpr Redraw kHighborn{1000, 2000, 100, 200, 100, 100, 120, 40};
constexpr Redraw kFranklinCrew{100, 400, 50, 100, 50, 60, 50, 50};

}  // namespace

void apply_named_character(Game& g, rw& x, Position position) {
  const std::string_view name = x.name;
  const bool inner = position == Position::Inner;
  if (name == "tessik") {
    redraw(g, x, inner ? kHighborn : Redraw{1000, 2000, 100, 200, 150, 100, 120, 40});
    x.sx = 9;
  } else if (name == "Varqueb") {
    redraw(g, x, inner ? kHighborn : Redraw{750, 1500, 100, 100, 75, 60, 90, 30});
    x.sx = 10;
  } else if (name == "Prane") {
    x.hp = wmul(x.hp, 2);
    scale(x.atk, 3, 2);
    if (inner) {
      x.def = wmul(x.def, 2);
    } else {
      scale(x.def, 3, 2);
    }
    x.sx = 11;
  } else if (name == "Halvic") {
    scale(x.hp, 3, 2);
    scale(x.atk, 5, 4);
    scale(x.def, 3, 2);
    x.sx = 12;
  } else if (name == "vmrqtoa4817" || name == "w_k") {
    scale(x.hp, 4, 3);
    scale(x.atk, 4, 3);
    scale(x.def, 4, 3);
    x.sx = name == "w_k" ? 15 : 14;
  } else if (name == "杰哥") {
    x.hp = wmul(x.hp, 2);
    scale(x.atk, 3, 2);
    scale(x.def, 3, 2);
    x.sx = 16;
  } else if (name == "指挥官") {
    x.sx = 17;
  } else if (name == "mossu_ka") {
    scale(x.hp, 3, 2);
    scale(x.atk, 4, 3);
    scale(x.def, 4, 3);
    x.sx = 21;
  } else if (name == "富兰克林" || name == "麦克" || name == "崔佛") {
    redraw(g, x, kFranklinCrew);
    x.sx = name == "富兰克林" ? 22 : name == "麦克" ? 23 : 24;
  }
}

}  // namespace morvane
