#pragma once
// Tells from a file's first bytes whether it can be a Word document at all. LibreOffice opens
// nearly anything (plain text, HTML, spreadsheets), but a file that merely carries a ".doc"
// name is not a Word document and must fail rather than come out as a PDF of its bytes.
#include <string>

namespace pendrel::office {

enum class FileKind {
    Missing,  // nothing readable at the path
    Empty,    // a file of no bytes
    WordCandidate,
    NotWord,
};

FileKind SniffDocument(const std::string& path);
// The same test on bytes already read (the file's first bytes, any number of them).
FileKind SniffHeader(const std::string& firstBytes);

}  // namespace pendrel::office
