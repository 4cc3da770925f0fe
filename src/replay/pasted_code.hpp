#pragma once
// Where a replay code is in what a person hands over: the code alone, or with blanks around it
// or inside it (a code that a chat window broke over two lines, or "%20" in an address), the
// whole closing line the terminal shows (种子：… 回放：morvane replay MV1-…), a page address
// (…/index.html#MV1-…), or a file saved in UTF-8 with or without a byte-order mark, or in UTF-16.

#include <optional>
#include <string>
#include <string_view>

namespace morvane::replay {

// The text as UTF-8: a UTF-8 byte-order mark dropped, UTF-16 converted (with its byte-order
// mark, or without one when it starts with a character of ASCII, a NUL beside it).
std::string as_utf8(std::string_view bytes);

// The code in `text`: from the first "MV", a number and '-' on, its characters without the
// blanks between them, up to the first character that is neither (or past `most` characters,
// which is too long for a code anyway). Nothing when no such start is there.
std::optional<std::string> find_code(std::string_view text, std::size_t most);

}  // namespace morvane::replay
