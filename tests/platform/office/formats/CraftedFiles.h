#pragma once
// Compound files and ZIPs put together byte by byte, so that a test can damage exactly the
// field it is about, and byte sources over them.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/office/formats/DocumentSniffer.h"

namespace pendrel::office::crafted {

constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;

// The bytes as a file of fileSize bytes (at least their size): past the bytes it reads zeros,
// so a test can have a large file without making one.
ReadAt Reader(const std::string& bytes, std::uint64_t fileSize = 0);

// A compound file of 512-byte sectors: sector 0 holds the allocation table (FAT), sector 1
// the directory, sector 2 the mini stream's table; the root entry is made, the rest is the
// test's. Every sector a test writes to exists, the ones between are zeros.
class CompoundFileBuilder {
public:
    CompoundFileBuilder();

    // The FAT: the sector after sector in its chain. A new sector ends its chain until linked.
    void Link(std::uint32_t sector, std::uint32_t next);
    // The mini stream's FAT, likewise.
    void LinkMini(std::uint32_t mini, std::uint32_t next);
    // A directory entry in the next free slot of sector 1 (three after the root's); type 2 is
    // a stream, 1 a storage. Returns where its 128 bytes begin in the file.
    std::size_t AddEntry(const std::u16string& name, std::uint8_t type, std::uint32_t start,
                         std::uint32_t size);
    // The root entry, whose stream holds the mini sectors.
    void SetRoot(std::uint32_t start, std::uint32_t size);
    void Put(std::uint32_t sector, std::size_t offset, const std::string& bytes);
    void Put32(std::size_t fileOffset, std::uint32_t value);  // anywhere, header included

    std::string Bytes() const { return bytes_; }

private:
    void Grow(std::uint32_t sector);
    std::string bytes_;
    std::size_t entries_ = 1;
};

// A well-formed Word document's compound file: WordDocument (8 bytes, in the mini stream in
// sector 3) begins with Word 97's file information block; 1Table (4,096 bytes, a chain of
// sectors 4 to 11) holds sector n's number as each of its bytes in sector n.
CompoundFileBuilder WordFile();

struct ZipEntry {
    std::string name, data;
    std::uint16_t method = 0;  // 0 stored, 8 deflated
};
// What a ZIP's records say, each to be replaced by a lie.
struct ZipLies {
    std::optional<std::uint16_t> count = {};
    std::optional<std::uint32_t> directorySize = {}, directoryOffset = {};
    std::optional<std::uint32_t> entrySize = {}, localHeader = {};  // of the first entry
    std::optional<std::uint16_t> nameLength = {};                   // of the first entry
};
std::string Zip(const std::vector<ZipEntry>& entries, const ZipLies& lies = {});

}  // namespace pendrel::office::crafted
