#include "platform/posix/WildcardMatch.h"

#include <cstddef>
#include <cstdint>

namespace pendrel::posix {
namespace {

struct CodePoint {
    char32_t value;
    std::size_t length;
};

std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Decodes the character at pos; a byte that starts no valid sequence stands for itself, so
// the matcher never stalls on bad input.
CodePoint DecodeAt(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    const std::size_t length = SequenceLength(lead);
    if (length == 1 || pos + length > text.size()) return {lead, 1};
    char32_t value = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) return {lead, 1};
        value = (value << 6) | (next & 0x3F);
    }
    return {value, length};
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
            const CodePoint pc = DecodeAt(pattern, p);
            const CodePoint nc = DecodeAt(name, n);
            if (pc.value == U'?' || FoldCase(pc.value) == FoldCase(nc.value)) {
                p += pc.length;
                n += nc.length;
                continue;
            }
        }
        if (afterStar == none) return false;
        resumeAt += DecodeAt(name, resumeAt).length;
        n = resumeAt;
        p = afterStar;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        char32_t min;
        if (lead >= 0xC2 && lead <= 0xDF)
            length = 2, min = 0x80;
        else if (lead >= 0xE0 && lead <= 0xEF)
            length = 3, min = 0x800;
        else if (lead >= 0xF0 && lead <= 0xF4)
            length = 4, min = 0x10000;
        else
            return false;
        if (i + length > bytes.size()) return false;
        const CodePoint c = DecodeAt(bytes, i);
        if (c.length != length || c.value < min || c.value > 0x10FFFF) return false;
        if (c.value >= 0xD800 && c.value <= 0xDFFF) return false;
        i += length;
    }
    return true;
}

}  // namespace pendrel::posix
