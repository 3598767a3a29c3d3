#pragma once
// The documents the tests convert, made by the engine itself at test time: sources written
// here (rich text, flat OpenDocument text) saved as Word .doc files by LibreOffice's own filter
// and cached in the build folder; and bad documents made from a good one.
#include <span>
#include <string>
#include <vector>

namespace pendrel::testing {

struct TestDocument {
    std::string name;     // also its file name, with ".doc"
    std::string source;   // rich text, or flat OpenDocument text
    std::string savedAs;  // "doc", or "docx", "rtf": saved under a .doc name
    int pages;            // in its PDF
    std::string text;     // a phrase its PDF holds
    int images = 0;       // pictures in its PDF, as pdfimages lists them (masks too)
};

// Ordinary text, a table, a picture, header and footer, a comment, Cyrillic and CJK text,
// several pages, a long document, .docx and .rtf files under a .doc name, a line in each of
// fourteen scripts, an embedded document, and headings with a link, a title and an author.
std::span<const TestDocument> StandardDocuments();

// The cached .doc of a standard document or of "huge" (3,000 pages, long enough to interrupt
// its conversion): every missing one is made on first use.
std::string DocumentPath(const std::string& name);

// Files under a .doc name that Pendrel must refuse, made from the "text" document, with words
// of the message that says why.
struct BadDocument {
    std::string name, bytes, reason;
};
std::vector<BadDocument> BadDocuments();

// A flat OpenDocument text of body; head (styles, scripts) goes before the body.
std::string FlatOdf(const std::string& body, const std::string& head = "");
// A picture of one colour.
std::string Picture(int width, int height, unsigned char red, unsigned char green,
                    unsigned char blue);

// Saves each source as its target with the engine, the format by the target's extension;
// false when any could not be made. For documents a test writes on the spot.
struct MadeFrom {
    std::string sourcePath, targetPath;
};
bool MakeDocuments(const std::vector<MadeFrom>& documents);

}  // namespace pendrel::testing
