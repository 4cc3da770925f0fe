#pragma once
// Why the system refused something, in the player's language.

#include <string>

namespace morvane {

// The reason behind an error number (errno), in Chinese: the same words on every system and in
// every locale. An error rare enough to be missing from the table gets the C library's own text.
std::string system_reason(int error);

}  // namespace morvane
