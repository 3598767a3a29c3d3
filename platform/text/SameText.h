#pragma once
// Names that the platform compares without regard to case (window classes and titles,
// automation members) are compared here, letter for letter in ASCII.
#include <algorithm>
#include <string_view>

namespace pendrel {

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

constexpr bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

}  // namespace pendrel
