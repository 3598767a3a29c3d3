#pragma once
// The central directory of a ZIP file (Office Open XML and OpenDocument files are ZIPs): the
// names of its entries, and the bytes of an entry stored without compression. Like the
// compound file reader it trusts nothing it reads.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/office/formats/DocumentSniffer.h"

namespace pendrel::office {

class ZipDirectory {
public:
    // Nothing when no central directory can be found.
    static std::optional<ZipDirectory> Read(std::uint64_t fileSize, const ReadAt& read);

    bool Has(const std::string& name) const;
    bool HasUnder(const std::string& folder) const;  // an entry whose name starts with folder
    // The bytes of an entry stored as they are (the "mimetype" of OpenDocument files), at
    // most limit of them; nothing when it is compressed or cannot be read.
    std::optional<std::string> Stored(const std::string& name, std::size_t limit) const;

private:
    struct Entry {
        std::string name;
        std::uint16_t method;
        std::uint32_t size;
        std::uint32_t localHeader;
    };

    ZipDirectory(std::uint64_t fileSize, ReadAt read)
        : fileSize_(fileSize), read_(std::move(read)) {}

    std::uint64_t fileSize_;
    ReadAt read_;
    std::vector<Entry> entries_;
};

}  // namespace pendrel::office
