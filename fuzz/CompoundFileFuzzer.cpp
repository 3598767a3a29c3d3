// Every question the sniffer and the tests ask of a compound file, on any bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/MemoryBytes.h"
#include "platform/office/formats/CompoundFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pendrel::office::CompoundFile;
    const auto file = CompoundFile::Open(size, pendrel::fuzz::MemoryBytes(data, size));
    if (!file) return 0;
    for (const std::u16string& name : file->StreamNames()) {
        // Far more than the input holds, so every chain is followed to its end.
        if (const auto start = file->StreamStart(name, 1 << 20); start && start->size() > size)
            __builtin_trap();  // bytes made up: a stream's start can only come from the input
        if (const auto offset = file->StreamFileOffset(name); offset && *offset >= size)
            __builtin_trap();  // a place past the end of the input
    }
    (void)file->StreamStart(u"WordDocument", 4);
    return 0;
}
