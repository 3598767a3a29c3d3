#pragma once
// A reader for the OLE compound files that Word, Excel and PowerPoint write (a little file
// system in one file: sectors, allocation tables and a directory of named streams). It reads
// only what it is asked for and trusts nothing it reads: every sector number and chain is
// checked, so a damaged or hostile file ends in a "no" rather than a loop or a crash.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/office/formats/DocumentSniffer.h"

namespace pendrel::office {

class CompoundFile {
public:
    // Nothing when the header is not a compound file's.
    static std::optional<CompoundFile> Open(std::uint64_t fileSize, const ReadAt& read);

    // The names of the streams in the directory, in directory order (storages left out).
    std::vector<std::u16string> StreamNames() const;
    // The first count bytes of the stream with this name (or fewer, when it is shorter);
    // nothing when there is no such stream or it cannot be read.
    std::optional<std::string> StreamStart(const std::u16string& name, std::size_t count) const;
    // Where in the file the stream's first byte is; nothing when there is no such stream or
    // its first sector lies past the end of the file.
    std::optional<std::uint64_t> StreamFileOffset(const std::u16string& name) const;

    // Whether two stream names are the same, as the format compares them: case-blind.
    static bool SameName(const std::u16string& a, const std::u16string& b);

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type;  // 1 storage, 2 stream, 5 root
        std::uint32_t start;
        std::uint64_t size;
    };

    CompoundFile(std::uint64_t fileSize, ReadAt read)
        : fileSize_(fileSize), read_(std::move(read)) {}
    bool ReadHeader();
    bool ReadDirectory();
    std::optional<std::uint32_t> NextSector(std::uint32_t sector) const;
    std::optional<std::uint32_t> NextMiniSector(std::uint32_t sector) const;
    std::optional<std::uint32_t> FatSector(std::uint32_t index) const;
    bool ReadSector(std::uint32_t sector, std::uint32_t offset, std::size_t size, char* out) const;
    std::optional<std::string> ReadRegular(std::uint32_t start, std::size_t count) const;
    std::optional<std::string> ReadMini(std::uint32_t start, std::size_t count) const;
    // Where mini sector `mini` lies in the file; nothing when that is past its end.
    std::optional<std::uint64_t> MiniSectorOffset(std::uint32_t mini) const;

    std::uint64_t fileSize_;
    ReadAt read_;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t miniCutoff_ = 4096;
    std::uint32_t firstDirectorySector_ = 0;
    std::uint32_t firstMiniFatSector_ = 0;
    std::uint32_t firstDifatSector_ = 0;
    std::uint32_t difatSectors_ = 0;
    std::vector<std::uint32_t> headerDifat_;
    std::vector<Entry> entries_;
};

}  // namespace pendrel::office
