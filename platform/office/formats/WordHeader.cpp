#include "platform/office/formats/WordHeader.h"

#include "platform/office/formats/LittleEndian.h"

namespace pendrel::office {
namespace {

// Word 97 and every later version write this magic number and this version of the format,
// followed by arrays of fixed lengths: 14 16-bit values, then 22 32-bit ones.
constexpr std::uint16_t Word97Ident = 0xA5EC;
constexpr std::uint16_t Word97Version = 0x00C1;
constexpr std::size_t ShortCountAt = 32, ShortCount = 14;
constexpr std::size_t LongCountAt = 62, LongCount = 22;
// ccpText, the fourth of the 32-bit values.
constexpr std::size_t MainTextLengthAt = 76;

}  // namespace

// The magic number (0xA5EC for Word 97 to 2007, 0xA5DC for Word 6.0 and 95, and a few others of
// the same family written by Word's relatives) and the version of the format (101 for Word 6.0
// up to 274 for Word 2007; a little room above for what came after).
bool HasWordHeader(const std::string& streamStart) {
    if (streamStart.size() < 4) return false;
    const std::uint16_t family = U16(streamStart.data()) & 0xFF00,
                        version = U16(streamStart.data() + 2);
    return (family == 0xA500 || family == 0xA600) && version >= 101 && version < 0x200;
}

std::optional<MainText> MainTextOf(const std::string& streamStart) {
    if (streamStart.size() < 4) return std::nullopt;
    const char* fib = streamStart.data();
    if (U16(fib) != Word97Ident || U16(fib + 2) < Word97Version) return std::nullopt;
    if (streamStart.size() < WordHeaderSize || U16(fib + ShortCountAt) != ShortCount ||
        U16(fib + LongCountAt) != LongCount)
        return MainText{};
    const std::uint32_t length = U32(fib + MainTextLengthAt);
    // A count, though the format stores it signed: one that would be negative is no count.
    if (length > 0x7FFFFFFFu) return MainText{};
    return MainText{true, length};
}

}  // namespace pendrel::office
