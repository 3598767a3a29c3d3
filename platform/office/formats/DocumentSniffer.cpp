#include "platform/office/formats/DocumentSniffer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/office/formats/CompoundFile.h"
#include "platform/office/formats/WordHeader.h"
#include "platform/office/formats/ZipDirectory.h"

namespace pendrel::office {
namespace {

bool StartsWith(const std::string& bytes, const std::string& prefix) {
    return bytes.compare(0, prefix.size(), prefix) == 0;
}

Sniffed OfCompoundFile(const CompoundFile& file) {
    if (const auto stream = file.StreamStart(u"WordDocument", WordHeaderSize);
        stream && HasWordHeader(*stream))
        return {FileKind::Word, {}, MainTextOf(*stream)};
    for (const std::u16string& name : file.StreamNames()) {
        if (CompoundFile::SameName(name, u"Workbook") || CompoundFile::SameName(name, u"Book"))
            return {FileKind::Spreadsheet, {}};
        if (CompoundFile::SameName(name, u"PowerPoint Document"))
            return {FileKind::Presentation, {}};
    }
    return {FileKind::NotWord, {}};
}

FileKind OfZip(const ZipDirectory& zip) {
    if (zip.Has("word/document.xml")) return FileKind::Word;
    if (zip.HasUnder("xl/")) return FileKind::Spreadsheet;
    if (zip.HasUnder("ppt/")) return FileKind::Presentation;
    const auto mimetype = zip.Stored("mimetype", 128);
    if (!mimetype) return FileKind::NotWord;
    const std::string odf = "application/vnd.oasis.opendocument.";
    if (StartsWith(*mimetype, odf + "text")) return FileKind::Word;
    if (StartsWith(*mimetype, odf + "spreadsheet")) return FileKind::Spreadsheet;
    if (StartsWith(*mimetype, odf + "presentation")) return FileKind::Presentation;
    return FileKind::NotWord;
}

// What the bytes are, with what a Word header says of the text.
Sniffed SniffRead(std::uint64_t fileSize, const ReadAt& read) {
    if (fileSize == 0) return {FileKind::Empty, {}};
    std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, 8)), '\0');
    if (!read(0, head.size(), head.data())) return {FileKind::NotWord, {}};
    if (StartsWith(head, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
        const auto file = CompoundFile::Open(fileSize, read);
        return file ? OfCompoundFile(*file) : Sniffed{FileKind::NotWord, {}};
    }
    if (StartsWith(head, std::string("PK\x03\x04", 4))) {
        const auto zip = ZipDirectory::Read(fileSize, read);
        return {zip ? OfZip(*zip) : FileKind::NotWord, {}};
    }
    // Word for Windows 1.x and 2.0, Word for DOS, and rich text.
    if (StartsWith(head, "\xA5\x9B") || StartsWith(head, "\xA5\xDB") ||
        StartsWith(head, std::string("\x31\xBE\x00\x00", 4)) || StartsWith(head, "{\\rtf"))
        return {FileKind::Word, {}};
    return {FileKind::NotWord, {}};
}

}  // namespace

ReadAt PositionalReader(int fd) {
    return [fd](std::uint64_t offset, std::size_t size, char* out) {
        while (size > 0) {
            const ssize_t got = ::pread(fd, out, size, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            out += got;
            offset += static_cast<std::uint64_t>(got);
            size -= static_cast<std::size_t>(got);
        }
        return true;
    };
}

FileKind SniffBytes(std::uint64_t fileSize, const ReadAt& read) {
    return SniffRead(fileSize, read).kind;
}

Sniffed SniffDocument(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR) return {FileKind::Missing, {}};
        return {FileKind::Unreadable, std::strerror(error)};
    }
    struct stat info {};
    Sniffed result{FileKind::NotWord, {}};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        result = SniffRead(static_cast<std::uint64_t>(info.st_size), PositionalReader(fd));
    }
    ::close(fd);
    return result;
}

}  // namespace pendrel::office
