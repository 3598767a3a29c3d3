#pragma once
// UTF-8 (the program's text) to and from UTF-16 units (what window messages carry).
#include <string>

#include "platform/Text.h"

namespace pendrel::Utf16 {

// Characters beyond the Basic Multilingual Plane become surrogate pairs; a malformed byte
// sequence becomes U+FFFD.
std::u16string FromUtf8(const Text& text);

// A surrogate pair becomes one character; a surrogate without its partner becomes U+FFFD.
Text ToUtf8(const std::u16string& units);

// The two halves of a surrogate pair.
constexpr bool IsHighSurrogate(char32_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace pendrel::Utf16
