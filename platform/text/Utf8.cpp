#include "platform/text/Utf8.h"

namespace pendrel::Utf8 {

Character Decode(std::string_view text, std::size_t pos) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80) return {lead, 1, true};
    const std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || lead > 0xF4) return {lead, 1, false};
    char32_t c = lead & (0x3F >> extra);
    std::size_t i = pos + 1;
    for (std::size_t k = 0; k < extra; ++k, ++i) {
        if (i >= text.size() || (byte(i) & 0xC0) != 0x80) return {lead, i - pos, false};
        c = (c << 6) | (byte(i) & 0x3F);
    }
    static constexpr char32_t smallest[] = {0, 0x80, 0x800, 0x10000};
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    if (c < smallest[extra] || c > 0x10FFFF || surrogate) return {lead, i - pos, false};
    return {c, i - pos, true};
}

bool IsValid(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const Character c = Decode(text, i);
        if (!c.valid) return false;
        i += c.length;
    }
    return true;
}

std::string Visible(std::string_view text) {
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const Character c = Decode(text, i);
        if (c.valid) {
            out.append(text.substr(i, c.length));
            i += c.length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(text[i++]);
        out += "\\x";
        out += hex[byte >> 4];
        out += hex[byte & 0x0F];
    }
    return out;
}

}  // namespace pendrel::Utf8
