#include "app/json_limits.hpp"

#include <nlohmann/json.hpp>

namespace morvane {
namespace {

// Counts on the parser's way through; a false return stops it at once.
class Counter final : public nlohmann::json::json_sax_t {
 public:
  explicit Counter(const JsonBounds& bounds) : bounds_(bounds) {}

  bool null() override { return value(); }
  bool boolean(bool) override { return value(); }
  bool number_integer(number_integer_t) override { return value(); }
  bool number_unsigned(number_unsigned_t) override { return value(); }
  bool number_float(number_float_t, const string_t&) override { return value(); }
  bool string(string_t&) override { return value(); }
  bool binary(binary_t&) override { return value(); }
  bool key(string_t&) override { return value(); }
  bool start_object(std::size_t) override { return open(); }
  bool start_array(std::size_t) override { return open(); }
  bool end_object() override { return close(); }
  bool end_array() override { return close(); }
  bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception&) override {
    fault = "不是JSON";
    return false;
  }

  std::string fault;

 private:
  bool value() {
    if (++values_ <= bounds_.values) return true;
    fault = "值太多（最多" + std::to_string(bounds_.values) + "个）";
    return false;
  }
  bool open() {
    if (++depth_ <= bounds_.depth) return value();
    fault = "嵌套太深（最多" + std::to_string(bounds_.depth) + "层）";
    return false;
  }
  bool close() {
    --depth_;
    return true;
  }

  const JsonBounds& bounds_;
  std::size_t depth_ = 0;
  std::size_t values_ = 0;
};

}  // namespace

std::string json_fault(std::string_view text, const JsonBounds& bounds) {
  Counter counter(bounds);
  nlohmann::json::sax_parse(text, &counter);
  return counter.fault;
}

}  // namespace morvane
