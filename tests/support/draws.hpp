#pragma once
// The scripted draws of blows and casts.
//
// A basic attack draws, in this order:
//   spread        rand() % 50: the blow deals its attack value + spread - 20 - the defence
//   opening call  rand() % 20000, a call above 12999 (then up to six rand() % 10000)
//   dodge         rand() % 1000, a dodge above 899 (only for a target without status)
//   critical      rand() % 7, a critical hit at 3
// and, once the damage is dealt:
//   reply         rand() % 20000 (then its own draws), only from a target still standing
//   follow-up     rand() % 20000 (then up to three rand() % 10000)
// A dodge, or a blow the defence absorbs ("防御了"), ends the attack before the reply and the
// follow-up.
//
// A cast starts with its ultimate roll: 999 fails it below level 10, 0 passes it.
//
//   t.draws(Draws{/*spread*/ 0, /*call*/ 13000, 9000}.then({0, 0}).lands());

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace morvane::testing {

class Draws {
 public:
  Draws(std::initializer_list<std::int32_t> d = {}) : v_(d) {}

  Draws& then(std::initializer_list<std::int32_t> d) {
    for (const std::int32_t value : d)
      v_.push_back(value);
    return *this;
  }
  Draws& then(const Draws& d, int times = 1) {
    for (int i = 0; i < times; ++i)
      v_.insert(v_.end(), d.v_.begin(), d.v_.end());
    return *this;
  }
  // A quiet blow (no call, dodge, critical hit, reply or follow-up) that the target survives.
  // With the default spread it deals exactly its attack value less the defence.
  Draws& lands(std::int32_t spread = 20) { return then({spread, 0, 0, 0, 0, 0}); }
  // A quiet blow that leaves the target at 0 or below: the fallen make no reply.
  Draws& kills(std::int32_t spread = 20) { return then({spread, 0, 0, 0, 0}); }
  // A quiet blow that the defence absorbs.
  Draws& absorbed(std::int32_t spread = 20) { return then({spread, 0, 0, 0}); }
  // A blow that is dodged.
  Draws& dodged(std::int32_t spread = 0) { return then({spread, 0, 900}); }

  const std::vector<std::int32_t>& values() const { return v_; }

 private:
  std::vector<std::int32_t> v_;
};

}  // namespace morvane::testing
