#include "platform/posix/WildcardMatch.h"

#include <cstddef>
#include <cstdint>

#include "platform/text/Utf8.h"

namespace pendrel::posix {
namespace {

// A byte that starts no valid sequence stands for itself, so the matcher never stalls on bad
// input.
Utf8::Character CharacterAt(std::string_view text, std::size_t pos) {
    const Utf8::Character c = Utf8::Decode(text, pos);
    if (c.valid) return c;
    return {static_cast<unsigned char>(text[pos]), 1, false};
}

// Folds the letters of the scripts whose case the file systems in use actually fold:
// Basic Latin, Latin-1, Greek and Cyrillic.
char32_t FoldCase(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

}  // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    constexpr std::size_t none = std::string_view::npos;
    std::size_t n = 0, p = 0;
    std::size_t afterStar = none, resumeAt = 0;  // where to retry when a "*" must take more
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            afterStar = ++p;
            resumeAt = n;
            continue;
        }
        if (p < pattern.size()) {
            const Utf8::Character pc = CharacterAt(pattern, p);
            const Utf8::Character nc = CharacterAt(name, n);
            if (pc.value == U'?' || FoldCase(pc.value) == FoldCase(nc.value)) {
                p += pc.length;
                n += nc.length;
                continue;
            }
        }
        if (afterStar == none) return false;
        resumeAt += CharacterAt(name, resumeAt).length;
        n = resumeAt;
        p = afterStar;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace pendrel::posix
