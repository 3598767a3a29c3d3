#include "platform/text/Utf16.h"

#include "platform/text/Utf8.h"

namespace pendrel::Utf16 {
namespace {

constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(Text& out, char32_t c) {
    const auto put = [&](char32_t bits) { out += static_cast<char>(bits); };
    if (c < 0x80) {
        put(c);
    } else if (c < 0x800) {
        put(0xC0 | (c >> 6));
        put(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        put(0xE0 | (c >> 12));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    } else {
        put(0xF0 | (c >> 18));
        put(0x80 | ((c >> 12) & 0x3F));
        put(0x80 | ((c >> 6) & 0x3F));
        put(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::u16string FromUtf8(const Text& text) {
    std::u16string units;
    units.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Utf8::Character decoded = Utf8::Decode(text, i);
        i += decoded.length;
        const char32_t c = decoded.valid ? decoded.value : Replacement;
        if (c < 0x10000) {
            units += static_cast<char16_t>(c);
        } else {
            units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return units;
}

Text ToUtf8(const std::u16string& units) {
    Text out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char32_t u = units[i];
        if (IsHighSurrogate(u) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else {
            AppendUtf8(out, IsHighSurrogate(u) || IsLowSurrogate(u) ? Replacement : u);
        }
    }
    return out;
}

}  // namespace pendrel::Utf16
