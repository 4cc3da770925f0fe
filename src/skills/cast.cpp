#include "skills/cast.hpp"

#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

void cljn(Game& g, std::int32_t ater, int jnbh, std::int32_t beat) {
  Fighter& caster = g.roster[ater];
  // The attribute and the magic as the cast begins: a skill may change either (Halvic learning
  // Prane's skills, 杰哥's beer) without changing this cast.
  const std::int32_t attribute = caster.attribute;
  Cast c{g, ater, beat, caster.magic};
  caster.casting_ultimate = false;

  // Each ultimate makes the next likelier; from ultimate_level 10 on every cast is one. The raise
  // comes before the skill, so this cast already multiplies by the raised level.
  if (g.rand() % 1000 < wmul(caster.ultimate_level, 100)) {
    caster.casting_ultimate = true;
    caster.ultimate_level = wadd(caster.ultimate_level, 1);
  }

  // The banner is in the colour of the turn; the skill is in its own.
  say(g, caster.name, "使用了");
  if (caster.casting_ultimate) say(g, " 奥义·");
  say(g, skill_name(g, attribute, jnbh), "，");
  if (g.on_cast != nullptr) g.on_cast->cast(ater, attribute, jnbh);

  cast_skill(c, attribute, jnbh);

  g.roster[ater].casting_ultimate = false;
}

}  // namespace morvane
