#include "platform/office/helper/DocumentSniffer.h"

#include <sys/stat.h>
#include <fstream>

namespace pendrel::office {
namespace {

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

FileKind SniffHeader(const std::string& b) {
    if (b.empty()) return FileKind::Empty;
    // Word 97 and later, and Word 6/95 files, are OLE compound files.
    if (StartsWith(b, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)))
        return FileKind::WordCandidate;
    // Word for Windows 1.x and 2.0 ("\xA5\x9B", "\xA5\xDB") and Word for DOS.
    if (StartsWith(b, "\xA5\x9B") || StartsWith(b, "\xA5\xDB") ||
        StartsWith(b, std::string("\x31\xBE\x00\x00", 4)))
        return FileKind::WordCandidate;
    // Word itself saves rich text and Office Open XML under a .doc name on request.
    if (StartsWith(b, "{\\rtf") || StartsWith(b, std::string("PK\x03\x04", 4)))
        return FileKind::WordCandidate;
    return FileKind::NotWord;
}

FileKind SniffDocument(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return FileKind::Missing;
    if (!S_ISREG(info.st_mode)) return FileKind::NotWord;
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileKind::Missing;
    std::string header(8, '\0');
    in.read(header.data(), static_cast<std::streamsize>(header.size()));
    header.resize(static_cast<std::size_t>(in.gcount()));
    return SniffHeader(header);
}

}  // namespace pendrel::office
