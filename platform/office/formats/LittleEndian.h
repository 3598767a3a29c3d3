#pragma once
// Unsigned integers stored least significant byte first, as compound files and ZIPs store them.
#include <cstdint>

namespace pendrel::office {

inline std::uint32_t U32(const char* p) {
    const auto b = [p](int i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(p[i]));
    };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

inline std::uint16_t U16(const char* p) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                      (static_cast<unsigned char>(p[1]) << 8));
}

}  // namespace pendrel::office
