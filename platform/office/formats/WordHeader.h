#pragma once
// Word's file information block (FIB): the header a Word document's WordDocument stream
// begins with. Read from the stream's first bytes only, and trusted no further than checked.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pendrel::office {

// How many of the stream's first bytes the readers below look at.
inline constexpr std::size_t WordHeaderSize = 152;

// True when the stream begins with the header of a Word document from Word 6.0 on.
bool HasWordHeader(const std::string& streamStart);

// What the header of a Word 97 or later document says of its main text (footnotes, headers,
// comments and text boxes not counted).
struct MainText {
    // False when the header's counts are not where the format puts them: it is damaged.
    bool countsReadable = false;
    std::uint32_t length = 0;  // characters, the paragraph mark that ends the text among them

    // Whether the document must show something: its header is damaged, or it counts more than
    // the paragraph mark every document ends with.
    bool Expected() const { return !countsReadable || length > 1; }
};

// Nothing when the stream does not begin with the header of a Word 97 or later document.
std::optional<MainText> MainTextOf(const std::string& streamStart);

}  // namespace pendrel::office
