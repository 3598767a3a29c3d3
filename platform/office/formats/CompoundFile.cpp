#include "platform/office/formats/CompoundFile.h"

#include <algorithm>

#include "platform/office/formats/LittleEndian.h"
#include "platform/text/CaseFold.h"

namespace pendrel::office {
namespace {

constexpr std::uint32_t EndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t LastRegularSector = 0xFFFFFFFA;
constexpr std::size_t HeaderSize = 512;
constexpr std::size_t EntrySize = 128;
constexpr std::uint32_t MiniSectorSize = 64;
// A directory larger than this is no document's: it ends the reading.
constexpr std::size_t MostEntries = 1 << 16;

// The sectors a chain has passed through. A chain that comes back to one runs in a loop: its
// reader stops there, rather than going round until its count runs out and handing back the
// same bytes again as if they were the rest of the stream.
class ChainTrail {
public:
    explicit ChainTrail(std::uint64_t sectors) : seen_(sectors) {}
    // False when the chain has been at sector before. Sectors past the file are not kept:
    // reading them fails anyway.
    bool Enter(std::uint32_t sector) {
        if (sector >= seen_.size()) return true;
        if (seen_[sector]) return false;
        seen_[sector] = true;
        return true;
    }

private:
    std::vector<bool> seen_;
};

}  // namespace

bool CompoundFile::SameName(const std::u16string& a, const std::u16string& b) {
    // Names in a compound file's directory are compared by their upper case, unit by unit.
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return UpperCase(x) == UpperCase(y); });
}

std::optional<CompoundFile> CompoundFile::Open(std::uint64_t fileSize, const ReadAt& read) {
    CompoundFile file(fileSize, read);
    if (!file.ReadHeader() || !file.ReadDirectory()) return std::nullopt;
    return file;
}

bool CompoundFile::ReadHeader() {
    char header[HeaderSize];
    if (fileSize_ < HeaderSize || !read_(0, HeaderSize, header)) return false;
    if (std::string(header, 8) != std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) return false;
    const std::uint16_t shift = U16(header + 0x1E);
    if (shift != 9 && shift != 12) return false;
    sectorSize_ = 1u << shift;
    if (U16(header + 0x20) != 6) return false;  // mini sectors are always 64 bytes
    firstDirectorySector_ = U32(header + 0x30);
    miniCutoff_ = U32(header + 0x38);
    firstMiniFatSector_ = U32(header + 0x3C);
    firstDifatSector_ = U32(header + 0x44);
    difatSectors_ = U32(header + 0x48);
    for (std::size_t i = 0; i < 109; ++i) headerDifat_.push_back(U32(header + 0x4C + 4 * i));
    return true;
}

bool CompoundFile::ReadSector(std::uint32_t sector, std::uint32_t offset, std::size_t size,
                              char* out) const {
    if (sector > LastRegularSector || offset + size > sectorSize_) return false;
    const std::uint64_t at = (static_cast<std::uint64_t>(sector) + 1) * sectorSize_ + offset;
    return at + size <= fileSize_ && read_(at, size, out);
}

std::optional<std::uint32_t> CompoundFile::FatSector(std::uint32_t index) const {
    if (index < headerDifat_.size()) return headerDifat_[index];
    // Further FAT sectors are listed in a chain of DIFAT sectors, the last entry of each
    // naming the next.
    const std::uint32_t perDifat = sectorSize_ / 4 - 1;
    std::uint32_t remaining = index - static_cast<std::uint32_t>(headerDifat_.size());
    std::uint32_t difat = firstDifatSector_;
    const std::uint64_t hops = std::min<std::uint64_t>(difatSectors_, fileSize_ / sectorSize_);
    for (std::uint64_t hop = 0; hop < hops; ++hop) {
        if (remaining < perDifat) {
            char entry[4];
            if (!ReadSector(difat, remaining * 4, 4, entry)) return std::nullopt;
            return U32(entry);
        }
        remaining -= perDifat;
        char next[4];
        if (!ReadSector(difat, perDifat * 4, 4, next)) return std::nullopt;
        difat = U32(next);
    }
    return std::nullopt;
}

std::optional<std::uint32_t> CompoundFile::NextSector(std::uint32_t sector) const {
    const std::uint32_t perSector = sectorSize_ / 4;
    const auto fat = FatSector(sector / perSector);
    char entry[4];
    if (!fat || !ReadSector(*fat, (sector % perSector) * 4, 4, entry)) return std::nullopt;
    return U32(entry);
}

std::optional<std::uint32_t> CompoundFile::NextMiniSector(std::uint32_t sector) const {
    const std::uint32_t perSector = sectorSize_ / 4;
    if (static_cast<std::uint64_t>(sector) * 4 >= fileSize_) return std::nullopt;
    std::uint32_t fatSector = firstMiniFatSector_;
    for (std::uint32_t hop = 0; hop < sector / perSector; ++hop) {
        const auto next = NextSector(fatSector);
        if (!next) return std::nullopt;
        fatSector = *next;
    }
    char entry[4];
    if (!ReadSector(fatSector, (sector % perSector) * 4, 4, entry)) return std::nullopt;
    return U32(entry);
}

bool CompoundFile::ReadDirectory() {
    const std::size_t perSector = sectorSize_ / EntrySize;
    std::vector<char> sector(sectorSize_);
    std::uint32_t current = firstDirectorySector_;
    ChainTrail trail(fileSize_ / sectorSize_);
    while (current != EndOfChain) {
        if (entries_.size() >= MostEntries || !trail.Enter(current) ||
            !ReadSector(current, 0, sectorSize_, sector.data()))
            return false;
        for (std::size_t i = 0; i < perSector; ++i) {
            const char* e = sector.data() + i * EntrySize;
            const std::uint16_t nameBytes = std::min<std::uint16_t>(U16(e + 0x40), 64);
            Entry entry;
            for (std::size_t c = 0; c + 1 < nameBytes; c += 2)
                if (const char16_t unit = U16(e + c)) entry.name.push_back(unit);
            entry.type = static_cast<std::uint8_t>(e[0x42]);
            entry.start = U32(e + 0x74);
            entry.size = U32(e + 0x78);
            if (sectorSize_ == 4096) entry.size |= static_cast<std::uint64_t>(U32(e + 0x7C)) << 32;
            entries_.push_back(std::move(entry));
        }
        const auto next = NextSector(current);
        if (!next) return false;
        current = *next;
    }
    return !entries_.empty() && entries_.front().type == 5;
}

std::vector<std::u16string> CompoundFile::StreamNames() const {
    std::vector<std::u16string> names;
    for (const Entry& entry : entries_)
        if (entry.type == 2) names.push_back(entry.name);
    return names;
}

std::optional<std::string> CompoundFile::ReadRegular(std::uint32_t start, std::size_t count) const {
    std::string out;
    std::uint32_t sector = start;
    ChainTrail trail(fileSize_ / sectorSize_);
    while (out.size() < count) {
        const std::size_t take = std::min<std::size_t>(count - out.size(), sectorSize_);
        std::string part(take, '\0');
        if (!trail.Enter(sector) || !ReadSector(sector, 0, take, part.data())) return std::nullopt;
        out += part;
        if (out.size() == count) break;
        const auto next = NextSector(sector);
        if (!next || *next > LastRegularSector) return std::nullopt;
        sector = *next;
    }
    return out;
}

std::optional<std::uint64_t> CompoundFile::MiniSectorOffset(std::uint32_t mini) const {
    // The mini sectors live in the root entry's stream, which is an ordinary chain.
    const Entry& root = entries_.front();
    const std::uint64_t at = static_cast<std::uint64_t>(mini) * MiniSectorSize;
    if (at >= root.size || at >= fileSize_) return std::nullopt;
    std::uint32_t sector = root.start;
    for (std::uint64_t hop = 0; hop < at / sectorSize_; ++hop) {
        const auto next = NextSector(sector);
        if (!next) return std::nullopt;
        sector = *next;
    }
    if (sector > LastRegularSector) return std::nullopt;
    const std::uint64_t offset =
        (static_cast<std::uint64_t>(sector) + 1) * sectorSize_ + at % sectorSize_;
    if (offset >= fileSize_) return std::nullopt;
    return offset;
}

std::optional<std::string> CompoundFile::ReadMini(std::uint32_t start, std::size_t count) const {
    std::string out;
    std::uint32_t mini = start;
    ChainTrail trail(fileSize_ / MiniSectorSize);
    while (out.size() < count) {
        if (!trail.Enter(mini)) return std::nullopt;
        const auto offset = MiniSectorOffset(mini);
        const std::size_t take = std::min<std::size_t>(count - out.size(), MiniSectorSize);
        std::string part(take, '\0');
        if (!offset || *offset + take > fileSize_ || !read_(*offset, take, part.data()))
            return std::nullopt;
        out += part;
        if (out.size() == count) break;
        const auto next = NextMiniSector(mini);
        if (!next || *next > LastRegularSector) return std::nullopt;
        mini = *next;
    }
    return out;
}

std::optional<std::string> CompoundFile::StreamStart(const std::u16string& name,
                                                     std::size_t count) const {
    for (const Entry& entry : entries_) {
        if (entry.type != 2 || !SameName(entry.name, name)) continue;
        const std::size_t wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(count, entry.size));
        return entry.size < miniCutoff_ ? ReadMini(entry.start, wanted)
                                        : ReadRegular(entry.start, wanted);
    }
    return std::nullopt;
}

std::optional<std::uint64_t> CompoundFile::StreamFileOffset(const std::u16string& name) const {
    for (const Entry& entry : entries_) {
        if (entry.type != 2 || !SameName(entry.name, name)) continue;
        if (entry.size < miniCutoff_) return MiniSectorOffset(entry.start);
        const std::uint64_t at = (static_cast<std::uint64_t>(entry.start) + 1) * sectorSize_;
        if (entry.start > LastRegularSector || at >= fileSize_) return std::nullopt;
        return at;
    }
    return std::nullopt;
}

}  // namespace pendrel::office
