#include "platform/text/CaseFold.h"

#include "platform/text/Utf8.h"

namespace pendrel {
namespace {

// A character as the file system orders it: upper-cased, and one beyond the Basic
// Multilingual Plane where its first UTF-16 unit would put it.
char32_t OrderOf(std::string_view text, std::size_t& i) {
    const Utf8::Character c = Utf8::Decode(text, i);
    i += c.valid ? c.length : 1;
    if (!c.valid) return static_cast<unsigned char>(text[i - 1]);
    if (c.value > 0xFFFF) return 0xD800 + ((c.value - 0x10000) >> 10);
    return UpperCase(c.value);
}

}  // namespace

char32_t UpperCase(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c == 0x3C2) return 0x3A3;  // final sigma
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

bool ListsBefore(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = OrderOf(a, i), y = OrderOf(b, j);
        if (x != y) return x < y;
    }
    if (i < a.size() || j < b.size()) return j < b.size();
    return a < b;
}

}  // namespace pendrel
