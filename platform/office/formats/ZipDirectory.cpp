#include "platform/office/formats/ZipDirectory.h"

#include <algorithm>

#include "platform/office/formats/LittleEndian.h"

namespace pendrel::office {
namespace {

// The end record is 22 bytes plus a comment of at most 65,535.
constexpr std::size_t EndRecordSize = 22;
constexpr std::size_t MostCommentBytes = 0xFFFF;

}  // namespace

std::optional<ZipDirectory> ZipDirectory::Read(std::uint64_t fileSize, const ReadAt& read) {
    if (fileSize < EndRecordSize) return std::nullopt;
    const std::size_t tail = static_cast<std::size_t>(
        std::min<std::uint64_t>(fileSize, EndRecordSize + MostCommentBytes));
    std::string end(tail, '\0');
    if (!read(fileSize - tail, tail, end.data())) return std::nullopt;
    const auto record = end.rfind(std::string("PK\x05\x06", 4));
    if (record == std::string::npos || record + EndRecordSize > end.size()) return std::nullopt;
    const char* r = end.data() + record;
    const std::uint16_t count = U16(r + 10);  // at most 65,535 entries, by its width
    const std::uint32_t size = U32(r + 12), offset = U32(r + 16);
    if (static_cast<std::uint64_t>(offset) + size > fileSize) return std::nullopt;

    ZipDirectory zip(fileSize, read);
    std::string central(size, '\0');
    if (!read(offset, size, central.data())) return std::nullopt;
    std::size_t at = 0;
    for (std::uint16_t i = 0; i < count; ++i) {
        if (at + 46 > central.size() || central.compare(at, 4, "PK\x01\x02", 4) != 0) break;
        const char* e = central.data() + at;
        const std::size_t nameLength = U16(e + 28);
        const std::size_t skip = 46 + nameLength + U16(e + 30) + U16(e + 32);
        if (at + skip > central.size()) break;
        zip.entries_.push_back(
            {central.substr(at + 46, nameLength), U16(e + 10), U32(e + 24), U32(e + 42)});
        at += skip;
    }
    if (zip.entries_.empty()) return std::nullopt;
    return zip;
}

bool ZipDirectory::Has(const std::string& name) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.name == name; });
}

bool ZipDirectory::HasUnder(const std::string& folder) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const Entry& e) {
        return e.name.compare(0, folder.size(), folder) == 0;
    });
}

std::optional<std::string> ZipDirectory::Stored(const std::string& name, std::size_t limit) const {
    for (const Entry& e : entries_) {
        if (e.name != name) continue;
        if (e.method != 0) return std::nullopt;
        char header[30];
        if (static_cast<std::uint64_t>(e.localHeader) + 30 > fileSize_ ||
            !read_(e.localHeader, 30, header) ||
            std::string(header, 4) != std::string("PK\x03\x04", 4))
            return std::nullopt;
        const std::uint64_t data =
            static_cast<std::uint64_t>(e.localHeader) + 30 + U16(header + 26) + U16(header + 28);
        const std::size_t take = std::min<std::size_t>(e.size, limit);
        if (data + take > fileSize_) return std::nullopt;
        std::string bytes(take, '\0');
        if (!read_(data, take, bytes.data())) return std::nullopt;
        return bytes;
    }
    return std::nullopt;
}

}  // namespace pendrel::office
