#include "app/text_layout.hpp"

#include <algorithm>
#include <vector>

#include "console/unicode.hpp"

namespace morvane {
namespace {

bool wide(char32_t cp) {
  constexpr std::pair<char32_t, char32_t> kWide[] = {
      {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF}, {0x3400, 0x4DBF},
      {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3}, {0xF900, 0xFAFF},
      {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6}, {0x1F300, 0x1F64F},
      {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD},
  };
  return std::any_of(std::begin(kWide), std::end(kWide),
                     [cp](const auto& range) { return cp >= range.first && cp <= range.second; });
}

// One character of a line: its bytes, its columns, and how it may be broken around.
struct Character {
  std::string_view bytes;
  int width = 1;
  bool ascii = false;
};

Character character_at(std::string_view text) {
  const unicode::Decoded d = unicode::decode_utf8(text);
  if (d.length == 0) return {text.substr(0, 1), 1, false};
  return {text.substr(0, d.length), wide(d.cp) ? 2 : 1, d.cp < 0x80};
}

bool one_of(std::string_view bytes, std::initializer_list<std::string_view> set) {
  return std::find(set.begin(), set.end(), bytes) != set.end();
}
// No line starts with these, nor ends with the opening ones.
bool closing(std::string_view c) {
  return one_of(c,
                {"，", "。", "、", "；", "：", "？", "！", "）", "」", "』", "》", "】", "”", "’",
                 "…",  "～", "—",  "·",  "%",  ",",  ".",  ";",  ":",  "!",  "?",  ")",  "]"});
}
bool opening(std::string_view c) {
  return one_of(c, {"（", "「", "『", "《", "【", "“", "‘", "～", "—", "(", "["});
}

// What a line is cut into: pieces that are never broken, each after its gap of spaces (0 where
// a line may break between two pieces that touch).
struct Piece {
  std::string text;
  int width = 0;
  int gap = 0;
};

std::vector<Piece> pieces_of(std::string_view line) {
  std::vector<Piece> pieces;
  Character previous;
  int spaces = 0;
  while (!line.empty()) {
    const Character c = character_at(line);
    line.remove_prefix(c.bytes.size());
    if (c.bytes == " ") {
      ++spaces;
      continue;
    }
    const bool joined =
        !pieces.empty() && spaces == 0 &&
        ((previous.ascii && c.ascii) || closing(c.bytes) || opening(previous.bytes));
    if (!joined) pieces.push_back({{}, 0, spaces});
    pieces.back().text += c.bytes;
    pieces.back().width += c.width;
    previous = c;
    spaces = 0;
  }
  return pieces;
}

// The column continuation lines start at: after the first gap of two or more spaces that
// follows some text, else the line's own indentation; nearer the left when that leaves too
// little room.
int hanging_indent(std::string_view line, int indent, int width) {
  int hang = indent;
  const std::size_t gap = line.find("  ", static_cast<std::size_t>(indent));
  if (gap != std::string_view::npos) {
    const std::size_t text = line.find_first_not_of(' ', gap);
    if (text != std::string_view::npos) hang = display_width(line.substr(0, text));
  }
  constexpr int kLeast = 20;
  return width - hang >= kLeast ? hang : std::min(hang, indent + 4);
}

void wrap_line(std::string_view line, int width, std::string& out) {
  const int indent = static_cast<int>(std::min(line.find_first_not_of(' '), line.size()));
  if (display_width(line) <= width) {
    out += line;
    return;
  }
  const int hang = hanging_indent(line, indent, width);
  out.append(static_cast<std::size_t>(indent), ' ');
  int column = indent;
  bool first = true;
  for (const Piece& piece : pieces_of(line.substr(static_cast<std::size_t>(indent)))) {
    if (!first && column + piece.gap + piece.width > width) {
      out += '\n';
      out.append(static_cast<std::size_t>(hang), ' ');
      column = hang;
    } else {
      out.append(static_cast<std::size_t>(piece.gap), ' ');
      column += piece.gap;
    }
    out += piece.text;
    column += piece.width;
    first = false;
  }
}

}  // namespace

int display_width(std::string_view text) {
  int width = 0;
  while (!text.empty()) {
    const Character c = character_at(text);
    width += c.width;
    text.remove_prefix(c.bytes.size());
  }
  return width;
}

std::string wrap_text(std::string_view text, int width) {
  std::string out;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    wrap_line(text.substr(0, end), width, out);
    if (end == std::string_view::npos) break;
    out += '\n';
    text.remove_prefix(end + 1);
  }
  return out;
}

}  // namespace morvane
