#include "skills/cast.hpp"

#include "model/wrap.hpp"
#include "skills/skills.hpp"

namespace morvane {

void cast(Game& g, std::int32_t caster, int skill, std::int32_t target) {
  const Fighter& me = g.roster[caster];
  // The attribute and the magic as the cast begins: a skill may change either (Halvic learning
  // Prane's skills, 杰哥's beer) without changing this cast.
  const std::int32_t attribute = me.attribute;
  Cast c{g, caster, target, me.magic};
  g.roster.set_casting_ultimate(caster, false);

  // Each ultimate makes the next likelier; from ultimate_level 10 on every cast is one. The raise
  // comes before the skill, so this cast already multiplies by the raised level.
  if (g.rand() % 1000 < wmul(me.ultimate_level, 100)) {
    g.roster.set_casting_ultimate(caster, true);
    g.roster.set_ultimate_level(caster, wadd(me.ultimate_level, 1));
  }

  // The banner is in the colour of the turn; the skill is in its own.
  say(g, me.name, "使用了");
  if (me.casting_ultimate) say(g, " 奥义·");
  say(g, skill_name(g, attribute, skill), "，");
  if (g.on_cast != nullptr) g.on_cast->cast(caster, attribute, skill);

  dispatch_skill(c, attribute, skill);

  g.roster.set_casting_ultimate(caster, false);
}

}  // namespace morvane
