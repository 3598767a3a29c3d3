#include "bench/WordSummary.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/office/formats/CompoundFile.h"
#include "platform/office/formats/LittleEndian.h"

namespace pendrel::bench {
namespace {

constexpr std::uint32_t AppName = 0x12, PageCount = 0x0E;  // PIDSI_APPNAME, PIDSI_PAGECOUNT
constexpr std::uint32_t Int32 = 3, AnsiString = 0x1E;      // VT_I4, VT_LPSTR

// 0 past the end: a property set is read as the hostile bytes it may be.
std::uint32_t U32(const std::string& bytes, std::size_t at) {
    return at + 4 <= bytes.size() && at + 4 > at ? office::U32(bytes.data() + at) : 0;
}

// The property set's first section: each property's id and value (type, then the value).
void ReadSection(const std::string& set, WordSummary& summary) {
    const std::size_t section = U32(set, 28 + 16);
    const std::uint32_t count = U32(set, section + 4);
    for (std::uint32_t i = 0; i < count && i < 1000; ++i) {
        const std::uint32_t id = U32(set, section + 8 + 8 * i);
        const std::size_t value = section + U32(set, section + 12 + 8 * i);
        const std::uint32_t type = U32(set, value);
        if (id == PageCount && type == Int32) summary.pages = static_cast<int>(U32(set, value + 4));
        if (id == AppName && type == AnsiString) {
            const std::size_t length = std::min<std::size_t>(U32(set, value + 4), 256);
            if (value + 8 + length <= set.size()) {
                summary.application = set.substr(value + 8, length);
                summary.application.erase(summary.application.find_last_not_of('\0') + 1);
            }
        }
    }
}

}  // namespace

WordSummary ReadWordSummary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    const auto file = office::CompoundFile::Open(
        bytes.size(), [&](std::uint64_t offset, std::size_t size, char* out) {
            if (offset + size > bytes.size()) return false;
            std::copy_n(bytes.data() + offset, size, out);
            return true;
        });
    WordSummary summary;
    if (!file) return summary;
    if (const auto set = file->StreamStart(u"\x05SummaryInformation", 1 << 20))
        ReadSection(*set, summary);
    for (const std::u16string& name : file->StreamNames())
        summary.embeddedObjects += office::CompoundFile::SameName(name, u"\x03ObjInfo");
    return summary;
}

}  // namespace pendrel::bench
