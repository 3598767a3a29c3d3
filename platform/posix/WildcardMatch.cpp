#include "platform/posix/WildcardMatch.h"

#include <cstddef>
#include <cstdint>

#include "platform/text/CaseFold.h"
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
            if (pc.value == U'?' || UpperCase(pc.value) == UpperCase(nc.value)) {
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
