#include "roster_view.hpp"

#include <emscripten.h>

#include "model/codes.hpp"

namespace morvane::web {
namespace {

// The roster to page.roster(numbers, labels): `numbers` is
//   fighters, counted teams, labels, round,
//   then per fighter (slot 1 on): hit points, maximum, attribute, status, team,
//   then per label: its slot and its size in bytes;
// `labels` holds the labels' bytes in that order, each "name\nskill one\nskill two".
EM_JS(void, page_roster, (const std::int32_t* numbers, int count, const char* labels, int size), {
  Module.page.roster(HEAP32.slice(numbers >> 2, (numbers >> 2) + count),
                     HEAPU8.slice(labels, labels + size));
});

// The page's status badges: 0 none, then 水牢, 冰块, 冻伤, 钻心, 流血, 无敌.
std::int32_t badge(const Fighter& x) {
  const std::int32_t s = x.status;
  if (s >= status::kWaterPrison && s <= status::kWaterPrisonLast) return 1;
  if (s >= status::kIceBlock && s <= status::kIceBlockLast) return 2;
  if (s == status::kFrostbite) return 3;
  if (s >= status::kTormentLast && s <= status::kTorment) return 4;
  if (s >= status::kBleeding && s <= status::kBleedingLast) return 5;
  // Invincible until the (magic / 10)-th turn; past it the code means nothing.
  if (s >= status::kInvincible && s - status::kInvincible < x.magic / 10) return 6;
  return 0;
}

}  // namespace

void RosterView::watch(const Game* g) {
  game_ = g;
  names_.clear();
  attributes_.clear();
}

// A fighter's label: its name and its attribute's two skills, sent when either changes (a slot
// is filled by a summon, or an endless level moves the player's team forward).
void RosterView::describe(std::int32_t slot) {
  const Game& g = *game_;
  const Fighter& x = g.roster[slot];
  const auto k = static_cast<std::size_t>(slot);
  if (k < names_.size() && names_[k] == x.name && attributes_[k] == x.attribute) return;
  if (k >= names_.size()) {
    names_.resize(k + 1);
    attributes_.resize(k + 1, -1);
  }
  names_[k] = x.name;
  attributes_[k] = x.attribute;
  const std::size_t before = labels_.size();
  labels_ += x.name;
  for (int skill = 0; skill < 2; ++skill) {
    labels_ += '\n';
    labels_ += skill_name(g, x.attribute, skill);
  }
  described_.push_back(slot);
  described_.push_back(static_cast<std::int32_t>(labels_.size() - before));
}

void RosterView::send() {
  if (game_ == nullptr) return;
  const Game& g = *game_;
  const std::int32_t fighters = g.roster.next_slot() - 1;
  numbers_.assign({fighters, g.counted_teams, 0, g.round_count});
  described_.clear();
  labels_.clear();
  for (std::int32_t i = 1; i <= fighters; ++i) {
    const Fighter& x = g.roster[i];
    numbers_.insert(numbers_.end(), {x.hp, x.max_hp, x.attribute, badge(x), x.team});
    describe(i);
  }
  numbers_[2] = static_cast<std::int32_t>(described_.size() / 2);
  numbers_.insert(numbers_.end(), described_.begin(), described_.end());
  page_roster(numbers_.data(), static_cast<int>(numbers_.size()), labels_.data(),
              static_cast<int>(labels_.size()));
}

}  // namespace morvane::web
