// The ZIP directory reader on any bytes, asked what the sniffer asks.
#include <cstddef>
#include <cstdint>

#include "fuzz/MemoryBytes.h"
#include "platform/office/formats/ZipDirectory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using pendrel::office::ZipDirectory;
    const auto zip = ZipDirectory::Read(size, pendrel::fuzz::MemoryBytes(data, size));
    if (!zip) return 0;
    (void)zip->Has("word/document.xml");
    (void)zip->HasUnder("xl/");
    if (const auto mimetype = zip->Stored("mimetype", 128); mimetype && mimetype->size() > 128)
        __builtin_trap();  // more than was asked for
    (void)zip->Stored("word/document.xml", 1 << 20);
    return 0;
}
