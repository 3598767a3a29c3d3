#pragma once
// The fuzzer's input as the byte source the readers take in place of a file.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/office/formats/DocumentSniffer.h"

namespace pendrel::fuzz {

inline office::ReadAt MemoryBytes(const std::uint8_t* data, std::size_t size) {
    return [data, size](std::uint64_t offset, std::size_t count, char* out) {
        if (offset > size || count > size - offset) return false;
        std::copy_n(data + offset, count, out);
        return true;
    };
}

}  // namespace pendrel::fuzz
