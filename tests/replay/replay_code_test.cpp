#include "replay/replay_code.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <regex>
#include <string>

#include "replay/bytes.hpp"
#include "replay/lz.hpp"

namespace morvane::replay {
namespace {

using namespace std::string_literals;
using I32 = std::numeric_limits<std::int32_t>;
using I64 = std::numeric_limits<std::int64_t>;

Answer num(std::int32_t n) {
  return Answer::of_number(n);
}
Answer line(std::string text) {
  return Answer::of_text(std::move(text));
}

std::string names(const std::string& prefix, int count) {
  std::string out;
  for (int i = 1; i <= count; ++i)
    out += (i > 1 ? "/" : "") + prefix + std::to_string(i);
  return out;
}

// A code around a payload of our own making, with a right check: for what the check alone
// would refuse.
std::string seal(std::string payload) {
  std::string check;
  const std::uint32_t crc = crc32(payload);
  for (int shift = 0; shift < 32; shift += 8)
    check += static_cast<char>((crc >> shift) & 0xFFu);
  return "MV1-" + base64url_encode(payload + check);
}

// Seed 0, the usual round cap, digest 0, then `answers` as they are stored.
std::string plain_body(const std::string& answers) {
  return "\0\0\0\0\0\0"s + answers;
}

const Fight kThreeOnThree{
    1718000000u, 100000, {num(1), num(2), line("甲/乙/丙"), line("丁/戊/己")}, 0x9E3779B9u};

TEST(ReplayCode, EveryKindOfAnswerAndEveryExtremeComesBackUnchanged) {
  std::string every_byte;
  for (int b = 0; b < 256; ++b)
    every_byte += static_cast<char>(b);
  const std::vector<Answer> answers{num(I32::min()),
                                    num(I32::max()),
                                    num(0),
                                    num(-1),
                                    num(1),
                                    line(""),
                                    line("甲/乙"),
                                    line(""),
                                    line("🐉/😀/é"),
                                    line(every_byte),
                                    line(std::string(5000, 'x') + "/" + names("兵", 300))};
  for (std::uint32_t seed : {0u, 1u, 0xFFFFFFFFu}) {
    for (std::int64_t cap : {std::int64_t{0}, std::int64_t{100000}, std::int64_t{1}, I64::max()}) {
      const Fight fight{seed, cap, answers, seed ^ 0xA5A5A5A5u};
      const std::string code = encode(fight);
      ASSERT_FALSE(code.empty());
      EXPECT_TRUE(std::regex_match(code, std::regex("MV1-[A-Za-z0-9_-]+"))) << code;
      const DecodeResult back = decode(code);
      ASSERT_TRUE(back.fight) << back.message;
      EXPECT_EQ(*back.fight, fight) << seed << " " << cap;
      EXPECT_EQ(back.error, DecodeError::None);
    }
  }
  const Fight no_answers{5, 100000, {}, 0};
  EXPECT_EQ(decode(encode(no_answers)).fight, no_answers);
}

TEST(ReplayCode, ANegativeRoundCapIsDamagedForNoCapIsSpeltZero) {
  for (std::int64_t cap : {std::int64_t{-1}, std::int64_t{-5}, I64::min()}) {
    EXPECT_EQ(encode({1, cap, {num(1)}, 0}), "") << cap;
    std::string stored;  // the cap is kept as zigzag(cap - 100000)
    const auto difference = static_cast<std::int64_t>(static_cast<std::uint64_t>(cap) - 100000u);
    put_varint(stored, (static_cast<std::uint64_t>(difference) << 1) ^
                           static_cast<std::uint64_t>(difference >> 63));
    const DecodeResult r = decode(seal("\0\0"s + stored + "\0\0\0\0"s));
    EXPECT_EQ(r.error, DecodeError::Damaged) << cap;
  }
}

TEST(ReplayCode, RepeatedNamesAreCompressedAndAnOrdinaryFightStaysShort) {
  // The usual cap and small answers cost a byte each: a 3v3 code is a short line.
  EXPECT_LE(encode(kThreeOnThree).size(), 72u) << encode(kThreeOnThree);
  // 1000 fighters in two teams: base64 makes 4 characters of 3 bytes, so a code shorter than
  // the names has them packed to less than three quarters.
  const Fight crowd{42, 100000, {num(1), num(2), line(names("a", 500)), line(names("b", 500))}, 1};
  const std::string code = encode(crowd);
  EXPECT_LT(code.size(), 2 * names("a", 500).size());
  EXPECT_EQ(decode(code).fight, crowd);
  std::string soldiers = "兵";
  for (int i = 1; i < 1000; ++i)
    soldiers += "/兵";
  const Fight army{1, 100000, {num(2), num(1), line(soldiers)}, 7};
  EXPECT_LT(encode(army).size(), 60u);
  EXPECT_EQ(decode(encode(army)).fight, army);
}

TEST(ReplayCode, AFightBeyondTheBoundsGetsNoCode) {
  Fight fight{1, 100000, std::vector<Answer>(kMaxAnswers, num(3)), 0};
  EXPECT_EQ(decode(encode(fight)).fight, fight);
  fight.answers.push_back(num(3));
  EXPECT_EQ(encode(fight), "");
  // Bytes that do not compress: 40 000 fit in a code, 60 000 do not.
  std::string noise;
  std::uint32_t state = 1;
  for (int i = 0; i < 60000; ++i) {
    state = state * 214013u + 2531011u;
    noise += static_cast<char>(state >> 24);
  }
  EXPECT_NE(encode({1, 0, {line(noise.substr(0, 40000))}, 0}), "");
  EXPECT_EQ(encode({1, 0, {line(noise)}, 0}), "");
  EXPECT_EQ(encode({1, 0, {line(std::string(kMaxPlainSize + 1, 'a'))}, 0}), "");
}

TEST(ReplayCode, EverySingleCharacterEditIsRefused) {
  const Fight small{7, 100000, {num(1), line("甲")}, 0xDEADBEEFu};
  const std::string code = encode(small);
  ASSERT_EQ(decode(code).fight, small);
  std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
  // Only an edit of the version number into a higher one is told apart from damage.
  const std::regex kVersion("^MV([1-9][0-9]*)-");
  auto check = [&](const std::string& edited) {
    const DecodeResult r = decode(edited);
    std::smatch version;
    const bool newer = std::regex_search(edited, version, kVersion) && version[1] != "1";
    EXPECT_FALSE(r.fight) << edited;
    EXPECT_EQ(r.error, newer ? DecodeError::Newer : DecodeError::Damaged) << edited;
    EXPECT_FALSE(r.message.empty());
  };
  for (std::size_t at = 0; at < code.size(); ++at) {
    for (char c : alphabet + " #=+/.\xff" + std::string(1, '\0')) {
      if (c == code[at]) continue;
      std::string edited = code;
      edited[at] = c;
      check(edited);
    }
    check(code.substr(0, at));
    check(code.substr(0, at) + code.substr(at + 1));
  }
  for (std::size_t at = 0; at <= code.size(); ++at) {
    for (char c : alphabet) {
      const std::string edited = code.substr(0, at) + c + code.substr(at);
      // What comes before the "MV" is no part of the code.
      if (!edited.ends_with(code)) check(edited);
    }
  }
}

TEST(ReplayCode, AWrongLayoutIsDamagedEvenWithARightCheckAndANewerVersionIsToldApart) {
  for (const std::string& payload : {
           "\x02"s + plain_body(""),                  // an unknown flag
           "\0\x80\x80\x80\x80\x10\0\0\0\0\0"s,       // a seed past 32 bits
           "\0\x81\x00"s + plain_body("").substr(1),  // a needless zero byte
           "\0"s + plain_body("\x07"
                              "ab"),                           // a line past the end
           "\0"s + plain_body("\x80\x80\x80\x80\x20"),         // a number past 32 bits
           "\0\0\0\0"s,                                        // no digest
           "\x01\x09"s + lz_compress(plain_body("\x02\x04")),  // one byte short
           "\x01\x06\x03\x00"s,                                // a copy before the start
           "\x01\x08\x1f\x00\x00\x00"s,                        // a copy running past the size given
       }) {
    const DecodeResult r = decode(seal(payload));
    EXPECT_FALSE(r.fight);
    EXPECT_EQ(r.error, DecodeError::Damaged);
    EXPECT_EQ(r.message, "回放码已损坏");
  }
  for (const char* text : {"", "hello", "MV", "MV1", "MV1-", "mv1-AAAAAAAA", "MV01-AAAAAAAA",
                           "MV-AAAAAAAA", "MV1-AAAAAAA="})
    EXPECT_EQ(decode(text).error, DecodeError::Damaged) << text;
  // A newer version's code, whatever its layout: the player is told to upgrade.
  for (const char* text : {"MV2-AAAA", "MV10-whatever", "MV99999999999999999999-"}) {
    EXPECT_EQ(decode(text).error, DecodeError::Newer) << text;
    EXPECT_EQ(decode(text).message, "这个回放码来自更新版本的Morvane，请升级后再回放");
  }
}

TEST(ReplayCode, OversizedCodesAndBombsAreTooLarge) {
  EXPECT_EQ(decode("MV1-" + std::string(kMaxCodeLength, 'A')).error, DecodeError::TooLarge);
  // A few bytes that would unpack into 2 MiB of zeros: refused before any is made.
  std::string bomb = "\x01";
  put_varint(bomb, 2 * kMaxPlainSize);
  bomb += "\x1f\0\0"s;  // one zero, then a copy of it over and over
  put_varint(bomb, 2 * kMaxPlainSize - 1 - 18);
  EXPECT_EQ(decode(seal(bomb)).error, DecodeError::TooLarge);
  // One answer too many, packed small.
  const std::string zeros = plain_body(std::string(kMaxAnswers + 1, '\0'));
  std::string packed = "\x01";
  put_varint(packed, zeros.size());
  const DecodeResult many = decode(seal(packed + lz_compress(zeros)));
  EXPECT_EQ(many.error, DecodeError::TooLarge);
  EXPECT_FALSE(many.message.empty());
}

// UTF-16 of ASCII text, in either byte order.
std::string utf16(std::string_view text, bool little_endian) {
  std::string bytes;
  for (const char c : text)
    bytes += little_endian ? std::string{c, '\0'} : std::string{'\0', c};
  return bytes;
}

// The forms a person pastes are replayed whole in replay_command_test; here, the edges.
TEST(ReplayCode, ACodeIsFoundWhereverAPersonPutsIt) {
  const std::string code = encode(kThreeOnThree);
  for (const std::string& text : {
           "file:///home/玩家/index.html#" + code.substr(0, 9) + "%20" + code.substr(9) + "%0A",
           "\xFE\xFF" + utf16(code, false),
           utf16(code + "\n", true),  // no byte-order mark
           code + "#",
           code + "。",
       })
    EXPECT_EQ(decode(text).fight, kThreeOnThree) << text;
  // Words after it that a blank does not part from it, or another code, are read as part of it.
  for (const std::string& text : {code + " x", code + "\n" + code, "MV1-" + code})
    EXPECT_EQ(decode(text).error, DecodeError::Damaged) << text;
  EXPECT_EQ(decode("MW1-" + code.substr(4)).message, "这不是Morvane的回放码");
}

}  // namespace
}  // namespace morvane::replay
