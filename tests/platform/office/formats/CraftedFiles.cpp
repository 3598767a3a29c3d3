#include "tests/platform/office/formats/CraftedFiles.h"

#include <algorithm>
#include <stdexcept>

namespace pendrel::office::crafted {
namespace {

constexpr std::size_t SectorSize = 512;
constexpr std::uint32_t FreeSector = 0xFFFFFFFF;
constexpr std::uint32_t FatSector = 0xFFFFFFFD;

std::string Le(std::uint64_t value, std::size_t bytes) {
    std::string out;
    for (std::size_t i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i)));
    return out;
}

std::size_t SectorAt(std::uint32_t sector) {
    return (static_cast<std::size_t>(sector) + 1) * SectorSize;
}

}  // namespace

ReadAt Reader(const std::string& bytes, std::uint64_t fileSize) {
    const std::uint64_t size = std::max<std::uint64_t>(fileSize, bytes.size());
    return [bytes, size](std::uint64_t offset, std::size_t count, char* out) {
        if (offset > size || count > size - offset) return false;
        for (std::size_t i = 0; i < count; ++i)
            out[i] = offset + i < bytes.size() ? bytes[offset + i] : '\0';
        return true;
    };
}

CompoundFileBuilder::CompoundFileBuilder() {
    bytes_.assign(SectorSize, '\0');
    bytes_.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    bytes_.replace(0x18, 10, Le(0x3E, 2) + Le(3, 2) + Le(0xFFFE, 2) + Le(9, 2) + Le(6, 2));
    Put32(0x2C, 1);           // FAT sectors
    Put32(0x30, 1);           // the directory's first sector
    Put32(0x38, 4096);        // streams shorter than this live in the mini stream
    Put32(0x3C, 2);           // the mini FAT's first sector
    Put32(0x40, 1);           // mini FAT sectors
    Put32(0x44, EndOfChain);  // no DIFAT sectors
    for (std::size_t i = 0; i < 109; ++i) Put32(0x4C + 4 * i, i == 0 ? 0 : FreeSector);
    Grow(2);
    Link(0, FatSector);
    std::fill(bytes_.begin() + SectorAt(2), bytes_.begin() + SectorAt(3), '\xFF');
    SetRoot(EndOfChain, 0);
}

void CompoundFileBuilder::Grow(std::uint32_t sector) {
    const std::size_t old = bytes_.size();
    if (SectorAt(sector + 1) <= old) return;
    bytes_.resize(SectorAt(sector + 1), '\0');
    // New sectors end their chains.
    for (std::uint32_t s = static_cast<std::uint32_t>(old / SectorSize) - 1; s <= sector; ++s)
        if (s < SectorSize / 4) Put32(SectorAt(0) + 4 * s, EndOfChain);
}

void CompoundFileBuilder::Link(std::uint32_t sector, std::uint32_t next) {
    Grow(sector);
    Put32(SectorAt(0) + 4 * sector, next);
}

void CompoundFileBuilder::LinkMini(std::uint32_t mini, std::uint32_t next) {
    Put32(SectorAt(2) + 4 * mini, next);
}

std::size_t CompoundFileBuilder::AddEntry(const std::u16string& name, std::uint8_t type,
                                          std::uint32_t start, std::uint32_t size) {
    if (entries_ == SectorSize / 128) throw std::length_error("the directory sector is full");
    const std::size_t at = SectorAt(1) + 128 * entries_++;
    std::string entry(128, '\0');
    for (std::size_t i = 0; i < name.size(); ++i) entry.replace(2 * i, 2, Le(name[i], 2));
    entry.replace(0x40, 2, Le(2 * (name.size() + 1), 2));
    entry[0x42] = static_cast<char>(type);
    entry.replace(0x44, 12, Le(FreeSector, 4) + Le(FreeSector, 4) + Le(FreeSector, 4));
    entry.replace(0x74, 8, Le(start, 4) + Le(size, 4));
    bytes_.replace(at, 128, entry);
    return at;
}

void CompoundFileBuilder::SetRoot(std::uint32_t start, std::uint32_t size) {
    const std::size_t keep = entries_;
    entries_ = 0;
    AddEntry(u"Root Entry", 5, start, size);
    entries_ = keep;
}

void CompoundFileBuilder::Put(std::uint32_t sector, std::size_t offset, const std::string& bytes) {
    Grow(sector);
    bytes_.replace(SectorAt(sector) + offset, bytes.size(), bytes);
}

void CompoundFileBuilder::Put32(std::size_t fileOffset, std::uint32_t value) {
    bytes_.replace(fileOffset, 4, Le(value, 4));
}

CompoundFileBuilder WordFile() {
    CompoundFileBuilder file;
    file.SetRoot(3, 64);
    file.Put(3, 0, std::string("\xEC\xA5\xC1\x00\x11\x22\x33\x44", 8));
    file.AddEntry(u"WordDocument", 2, 0, 8);
    file.LinkMini(0, EndOfChain);
    file.AddEntry(u"1Table", 2, 4, 4096);
    for (std::uint32_t sector = 4; sector < 12; ++sector) {
        file.Put(sector, 0, std::string(SectorSize, static_cast<char>(sector)));
        file.Link(sector, sector < 11 ? sector + 1 : EndOfChain);
    }
    return file;
}

std::string Zip(const std::vector<ZipEntry>& entries, const ZipLies& lies) {
    std::string locals, central;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const ZipEntry& e = entries[i];
        const bool first = i == 0;
        const std::uint32_t size = first && lies.entrySize ? *lies.entrySize : e.data.size();
        const std::uint32_t at = first && lies.localHeader ? *lies.localHeader : locals.size();
        const std::uint16_t nameLength =
            first && lies.nameLength ? *lies.nameLength : e.name.size();
        const std::string sizes = Le(0, 4) + Le(e.data.size(), 4) + Le(e.data.size(), 4);
        locals += "PK\x03\x04" + Le(20, 2) + Le(0, 2) + Le(e.method, 2) + Le(0, 4) + sizes +
                  Le(e.name.size(), 2) + Le(0, 2) + e.name + e.data;
        central += "PK\x01\x02" + Le(20, 2) + Le(20, 2) + Le(0, 2) + Le(e.method, 2) + Le(0, 4) +
                   Le(0, 4) + Le(size, 4) + Le(size, 4) + Le(nameLength, 2) + Le(0, 6) + Le(0, 2) +
                   Le(0, 4) + Le(at, 4) + e.name;
    }
    const std::uint16_t count = lies.count ? *lies.count : entries.size();
    return locals + central + "PK\x05\x06" + Le(0, 4) + Le(count, 2) + Le(count, 2) +
           Le(lies.directorySize ? *lies.directorySize : central.size(), 4) +
           Le(lies.directoryOffset ? *lies.directoryOffset : locals.size(), 4) + Le(0, 2);
}

}  // namespace pendrel::office::crafted
