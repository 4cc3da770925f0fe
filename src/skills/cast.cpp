#include "skills/cast.hpp"

#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

void cljn(Game& g, std::int32_t ater, int jnbh, std::int32_t beat) {
  Fighter& caster = g.a[ater];
  // The attribute and the magic as the cast begins: a skill may change either (Halvic learning
  // Prane's skills, 杰哥's beer) without changing this cast.
  const std::int32_t sx = caster.sx;
  Cast c{g, ater, beat, caster.ml};
  caster.flag = false;

  // Each ultimate makes the next likelier; from oy 10 on every cast is one. The raise comes
  // before the skill, so this cast already multiplies by the raised level.
  if (g.rand() % 1000 < wmul(caster.oy, 100)) {
    caster.flag = true;
    caster.oy = wadd(caster.oy, 1);
  }

  // The banner is in the colour of the turn; the skill is in its own.
  say(g, caster.name, "使用了");
  if (caster.flag) say(g, " 奥义·");
  say(g, skill_name(g, sx, jnbh), "，");
  if (g.on_cast != nullptr) g.on_cast->cast(ater, sx, jnbh);

  cast_skill(c, sx, jnbh);

  g.a[ater].flag = false;
}

}  // namespace morvane
