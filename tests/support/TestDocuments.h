#pragma once
// The documents the tests convert, made by the engine itself at test time: sources written
// here (flat OpenDocument text, rich text, HTML) saved as Word .doc files by LibreOffice's own
// filter, and cached in the build folder. Bad documents are made from good ones by the tests.
#include <string>
#include <vector>

namespace pendrel::testing {

// A document of the standard set: what it holds and what its PDF must show.
struct TestDocument {
    std::string name;  // also its file name, with ".doc"
    std::string sourceExtension;
    std::string source;   // the source the engine saves as a .doc
    std::string savedAs;  // the format: "doc", or "docx", "odt", "rtf" saved under a .doc name
    int pages;            // in its PDF
    std::string text;     // a phrase its PDF holds
};

// The standard set: ordinary text, a table, a picture, headers and footers, a comment,
// Cyrillic and CJK text, several pages, a long document, and the same text as .docx, .odt and
// .rtf files under a .doc name.
const std::vector<TestDocument>& StandardDocuments();
// Of the standard set, or "huge": 3,000 pages, long enough to interrupt its conversion.
const TestDocument& Standard(const std::string& name);

// The cached .doc of a test document, made (with every other missing one of its set) on
// first use.
std::string DocumentPath(const std::string& name);

// Makes target from the Word document at source, marked as encrypted the way Word marks it
// (the encryption flag of its header and an encryption header in its table stream), so that
// the importer asks for a password, as it does for a document that really is encrypted.
// LibreOfficeKit cannot save an encrypted .doc itself. False when source is no Word document.
bool MakeEncrypted(const std::string& source, const std::string& target);

// Saves each source as its target (format by the target's extension, see the maker) with the
// engine; false when any could not be made. For documents a test writes on the spot.
struct MadeFrom {
    std::string sourcePath;
    std::string targetPath;
};
bool MakeDocuments(const std::vector<MadeFrom>& documents);

// A small PNG picture of one colour, for documents that show or link a picture.
std::string PngBytes(int width, int height, unsigned char red, unsigned char green,
                     unsigned char blue);

}  // namespace pendrel::testing
