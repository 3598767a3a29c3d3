#pragma once
// The one UTF-8 decoder: the program's text is UTF-8, and every place that reads it by
// character (window messages, name matching, checks of file names) reads it through this.
#include <cstddef>
#include <string>
#include <string_view>

namespace pendrel::Utf8 {

struct Character {
    char32_t value;      // the code point; for a malformed sequence, its first byte
    std::size_t length;  // bytes taken: the whole sequence, or the malformed part of it
    bool valid;
};

// The character starting at text[pos] (pos < text.size()). Overlong forms, surrogates,
// values beyond U+10FFFF, stray continuation bytes and cut-off sequences are malformed.
Character Decode(std::string_view text, std::size_t pos);

// True when every byte belongs to a well-formed character.
bool IsValid(std::string_view text);

// The text with every byte that belongs to no well-formed character shown as \xNN, so that a
// name that is not text can still be read out to the user.
std::string Visible(std::string_view text);

}  // namespace pendrel::Utf8
