#pragma once
// Tells from a file's bytes what kind of document it is, before LibreOffice sees it.
// LibreOffice opens nearly anything (plain text, spreadsheets, random bytes behind a Word
// header), but a file that merely carries a ".doc" name is not a Word document and must fail
// rather than come out as a PDF of its bytes. Word's own formats, and the rich text, Office
// Open XML and OpenDocument text that Word also opens under a .doc name, pass.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/office/formats/WordHeader.h"

namespace pendrel::office {

enum class FileKind {
    Missing,     // nothing at the path
    Unreadable,  // there, but it cannot be read (the reason says why)
    Empty,
    Word,  // a Word document, or a text document Word opens under a .doc name
    Spreadsheet,
    Presentation,
    NotWord,
};

struct Sniffed {
    FileKind kind;
    std::string reason;  // for Unreadable: the system's words
    // For a Word 97 or later document: what its header says of its text.
    std::optional<MainText> mainText = std::nullopt;
};

Sniffed SniffDocument(const std::string& path);

// Reads size bytes at offset into out; false when the file has fewer.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, char* out)>;

// The same test on any byte source of fileSize bytes.
FileKind SniffBytes(std::uint64_t fileSize, const ReadAt& read);

// Reads an open file by position (it never moves the file's offset).
ReadAt PositionalReader(int fd);

}  // namespace pendrel::office
