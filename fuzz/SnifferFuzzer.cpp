// The sniffer on any bytes: whatever they are, it answers, and in time.
#include <cstddef>
#include <cstdint>

#include "fuzz/MemoryBytes.h"
#include "platform/office/formats/DocumentSniffer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pendrel::office::FileKind;
    const FileKind kind = pendrel::office::SniffBytes(size, pendrel::fuzz::MemoryBytes(data, size));
    if ((kind == FileKind::Empty) != (size == 0)) __builtin_trap();
    return 0;
}
