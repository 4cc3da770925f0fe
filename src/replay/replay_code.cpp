#include "replay/replay_code.hpp"

#include "replay/bytes.hpp"
#include "replay/lz.hpp"
#include "replay/pasted_code.hpp"

namespace morvane::replay {
namespace {

constexpr std::string_view kPrefix = "MV1-";
// The game's usual round cap: stored as the difference from it, it costs one byte. Part of the
// code's format: it stays even if the game's default changes.
constexpr std::uint64_t kUsualRoundCap = 100000;
constexpr std::uint8_t kCompressed = 1;

std::uint64_t zigzag(std::int64_t value) {
  return (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63);
}

std::int64_t unzigzag(std::uint64_t value) {
  return static_cast<std::int64_t>((value >> 1) ^ (0 - (value & 1u)));
}

void put_u32(std::string& out, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out += static_cast<char>((value >> shift) & 0xFFu);
}

std::uint32_t get_u32(std::string_view four) {
  std::uint32_t value = 0;
  for (int k = 3; k >= 0; --k)
    value = (value << 8) | static_cast<std::uint8_t>(four[static_cast<std::size_t>(k)]);
  return value;
}

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

DecodeResult refuse(DecodeError error, std::string message) {
  return {std::nullopt, error, std::move(message)};
}

DecodeResult damaged() {
  return refuse(DecodeError::Damaged, "回放码已损坏");
}

DecodeResult too_large() {
  return refuse(DecodeError::TooLarge, "回放码里的内容太多，无法回放");
}

// The plain body: everything of the fight.
std::optional<std::string> plain_body(const Fight& fight) {
  if (fight.answers.size() > kMaxAnswers || fight.max_rounds < 0) return std::nullopt;
  std::string plain;
  put_varint(plain, fight.seed);
  put_varint(plain, zigzag(static_cast<std::int64_t>(static_cast<std::uint64_t>(fight.max_rounds) -
                                                     kUsualRoundCap)));
  put_u32(plain, fight.digest);
  for (const Answer& answer : fight.answers) {
    if (answer.is_number) {
      put_varint(plain, zigzag(answer.number) << 1);
    } else {
      if (answer.text.size() > kMaxPlainSize) return std::nullopt;
      put_varint(plain, (std::uint64_t{answer.text.size()} << 1) | 1u);
      plain += answer.text;
    }
    if (plain.size() > kMaxPlainSize) return std::nullopt;
  }
  return plain;
}

DecodeResult read_fight(std::string_view plain) {
  ByteReader in(plain);
  Fight fight;
  const std::optional<std::uint64_t> seed = in.varint(UINT32_MAX);
  const std::optional<std::uint64_t> cap = in.varint();
  const std::optional<std::string_view> digest = in.bytes(4);
  if (!seed || !cap || !digest) return damaged();
  fight.seed = static_cast<std::uint32_t>(*seed);
  fight.max_rounds =
      static_cast<std::int64_t>(static_cast<std::uint64_t>(unzigzag(*cap)) + kUsualRoundCap);
  // 0 is the one spelling of "no cap".
  if (fight.max_rounds < 0) return damaged();
  fight.digest = get_u32(*digest);
  while (!in.done()) {
    if (fight.answers.size() == kMaxAnswers) return too_large();
    const std::optional<std::uint64_t> head = in.varint();
    if (!head) return damaged();
    if ((*head & 1u) == 0) {
      if ((*head >> 1) > UINT32_MAX) return damaged();
      fight.answers.push_back(Answer::of_number(static_cast<std::int32_t>(unzigzag(*head >> 1))));
    } else {
      const std::optional<std::string_view> text = in.bytes(*head >> 1);
      if (!text) return damaged();
      fight.answers.push_back(Answer::of_text(std::string(*text)));
    }
  }
  return {std::move(fight), DecodeError::None, {}};
}

}  // namespace

std::string encode(const Fight& fight) {
  const std::optional<std::string> plain = plain_body(fight);
  if (!plain) return {};
  std::string packed;
  put_varint(packed, plain->size());
  packed += lz_compress(*plain);
  const bool compress = packed.size() < plain->size();
  std::string payload(1, static_cast<char>(compress ? kCompressed : 0));
  payload += compress ? packed : *plain;
  put_u32(payload, crc32(payload));
  std::string code = std::string(kPrefix) + base64url_encode(payload);
  if (code.size() > kMaxCodeLength) return {};
  return code;
}

DecodeResult decode(std::string_view text) {
  const std::string utf8 = as_utf8(text);
  const std::optional<std::string> found = find_code(utf8, kMaxCodeLength);
  if (!found) {
    std::string_view trimmed = utf8;
    while (!trimmed.empty() && is_space(trimmed.front()))
      trimmed.remove_prefix(1);
    return trimmed.starts_with("MV") ? damaged()
                                     : refuse(DecodeError::Damaged, "这不是Morvane的回放码");
  }
  text = *found;
  text.remove_prefix(2);
  const std::size_t digits = text.find_first_not_of("0123456789");
  if (text[0] == '0') return damaged();
  if (text.substr(0, digits) != "1")
    return refuse(DecodeError::Newer, "这个回放码来自更新版本的Morvane，请升级后再回放");
  if (text.size() + 2 > kMaxCodeLength) return refuse(DecodeError::TooLarge, "回放码太长");
  text.remove_prefix(digits + 1);

  const std::optional<std::string> payload = base64url_decode(text);
  if (!payload || payload->size() < 5) return damaged();
  std::string_view body(*payload);
  body.remove_suffix(4);
  if (crc32(body) != get_u32(std::string_view(*payload).substr(body.size()))) return damaged();
  const auto flags = static_cast<std::uint8_t>(body.front());
  body.remove_prefix(1);
  if (flags == 0) return read_fight(body);
  if (flags != kCompressed) return damaged();
  ByteReader in(body);
  const std::optional<std::uint64_t> size = in.varint();
  if (!size) return damaged();
  if (*size > kMaxPlainSize) return too_large();
  const std::optional<std::string> plain =
      lz_decompress(in.rest(), static_cast<std::size_t>(*size));
  if (!plain) return damaged();
  return read_fight(*plain);
}

}  // namespace morvane::replay
