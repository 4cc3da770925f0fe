#include "model/wrap.hpp"
#include "skills/branches.hpp"
#include "skills/cast.hpp"

namespace morvane {

void cljn(Game& g, std::int32_t ater, int jnbh, std::int32_t beat) {
  Cast c{g, ater, beat};
  rw& caster = g.a[ater];
  c.ms = caster.sx;
  c.mlz = caster.ml;
  caster.flag = false;

  // Each ultimate makes the next likelier; from oy 10 on every cast is one. The raise comes
  // before the branch, so this cast already multiplies by the raised level.
  if (g.rand() % 1000 < wmul(caster.oy, 100)) {
    caster.flag = true;
    caster.oy = wadd(caster.oy, 1);
  }

  // The banner is in the colour of the turn; the branch sets its own colour after it.
  say(g, caster.name, "使用了");
  if (caster.flag) say(g, " 奥义·");
  say(g, skill_name(g, c.ms, jnbh), "，");
  if (g.on_cast != nullptr) g.on_cast->cast(ater, c.ms, jnbh);

  if (Branch branch = branch_for(c.ms)) branch(c, jnbh);

  g.a[ater].flag = false;
}

}  // namespace morvane
