#pragma once
// Letters compared without regard to case, the way Windows' file systems compare names: by
// their upper case, for the scripts whose case those file systems fold (Latin, Greek,
// Cyrillic).
#include <string_view>

namespace pendrel {

char32_t UpperCase(char32_t c);

// True when a comes before b in the order Windows lists a folder's entries: upper-cased
// character by character, shorter first; names that differ only in case by their bytes.
bool ListsBefore(std::string_view a, std::string_view b);

}  // namespace pendrel
