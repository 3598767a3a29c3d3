#pragma once
#include <string_view>

namespace pendrel::posix {

// Matches an entry name against a listing pattern the way the Windows file listing matches
// long names: "*" is any run of characters (none included), "?" exactly one character, and
// everything else compares without regard to case. "*.*" matches every name. Both texts are
// UTF-8; a character is a code point, not a byte.
bool MatchesWildcard(std::string_view name, std::string_view pattern);

}  // namespace pendrel::posix
