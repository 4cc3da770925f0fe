#pragma once
// Reading back a report that a program of ours wrote as JSON (a simulate or rank shard, which
// anyone may have made): each figure checked for its type and range, the first fault kept as
// the reason (in Chinese).

#include <cmath>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string>

namespace morvane {

using ReadJson = nlohmann::json;

class Reader {
 public:
  explicit Reader(const ReadJson& j) : j_(j) {}

  std::int64_t integer(const char* key, std::int64_t min, std::int64_t max) {
    return integer_of(j_, key, min, max);
  }
  std::int64_t integer_of(const ReadJson& object, const char* key, std::int64_t min,
                          std::int64_t max) {
    const auto it = object.find(key);
    if (it == object.end()) return fail(key, "不是整数");
    return value(*it, key, min, max);
  }
  // A value that is not an object's member (an array's), named `key` in the reason.
  std::int64_t value(const ReadJson& v, const char* key, std::int64_t min, std::int64_t max) {
    if (!v.is_number_integer()) return fail(key, "不是整数");
    std::int64_t n = 0;
    if (v.is_number_unsigned()) {
      const auto u = v.get<std::uint64_t>();
      if (u > static_cast<std::uint64_t>(max)) return fail(key, "超出范围");
      n = static_cast<std::int64_t>(u);
    } else {
      n = v.get<std::int64_t>();
    }
    if (n < min || n > max) return fail(key, "超出范围");
    return n;
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
  // Whether the report says it was interrupted; a fault if it does not say.
  bool interrupted() {
    const auto it = j_.find("interrupted");
    if (it == j_.end() || !it->is_boolean()) {
      fail("interrupted", "不是true或false");
      return false;
    }
    return it->get<bool>();
  }
  std::int64_t fail(const std::string& key, const std::string& why) {
    if (error.empty()) error = "“" + key + "”" + why;
    return 0;
  }

  std::string error;

 private:
  const ReadJson& j_;
};

}  // namespace morvane
