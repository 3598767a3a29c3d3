#pragma once
// Whether LibreOffice made anything of a document at all. It makes one blank page of a Word
// file whose header is whole but whose rest is damaged, where Word would refuse the file.
#include <cstdint>
#include <string>

struct _LibreOfficeKitDocument;

namespace pendrel::office {

// LibreOffice's PDF of a blank page is about 1 KB; a page with any text, picture or line on it
// makes a larger one.
inline constexpr std::uint64_t LargestBlankPdf = 4096;

// True when the loaded document lays out on one page or none and shows nothing there: a single
// empty paragraph, and no picture, shape or table, in its body or in its headers and footers.
// Its text, and failing that its whole content, are written to scratch files named from
// scratchBase and removed again; false when they cannot be written or are too large to read.
bool ShowsNothing(_LibreOfficeKitDocument* document, const std::string& scratchBase);

}  // namespace pendrel::office
