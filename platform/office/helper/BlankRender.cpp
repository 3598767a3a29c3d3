#include "platform/office/helper/BlankRender.h"

#define LOK_USE_UNSTABLE_API
#include <LibreOfficeKit/LibreOfficeKit.h>
#include <unistd.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <optional>

#include "platform/office/protocol/FileUrl.h"

namespace pendrel::office {
namespace {

// Exports larger than these are not read: they hold something. The text of one empty
// paragraph is a byte order mark and a line end.
constexpr std::streamoff MostTextRead = 5;
constexpr std::streamoff MostContentRead = 64ll * 1024 * 1024;

// The file the document was exported to in format, read whole; nothing when the export failed
// or is larger than mostRead. The file is removed.
std::optional<std::string> Exported(_LibreOfficeKitDocument* document, const std::string& path,
                                    const char* format, std::streamoff mostRead) {
    const bool saved =
        document->pClass->saveAs(document, FileUrlFromPath(path).c_str(), format, nullptr);
    std::optional<std::string> bytes;
    if (std::ifstream in(path, std::ios::binary | std::ios::ate);
        saved && in && in.tellg() <= mostRead) {
        in.seekg(0);
        bytes = std::string(std::istreambuf_iterator<char>(in), {});
    }
    ::unlink(path.c_str());
    return bytes;
}

// True for the text export of a document that is a single empty paragraph. Several empty
// paragraphs, or spaces, are a blank document made so on purpose.
bool IsOneEmptyParagraph(std::string text) {
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(byteOrderMark)) text.erase(0, byteOrderMark.size());
    return text.empty() || text == "\n" || text == "\r\n";
}

// True when a flat OpenDocument text holds, from its master pages on, no drawing, no table
// and no character outside the markup.
bool FlatOdfShowsNothing(const std::string& flatOdf) {
    // What comes before the master pages (fonts, styles) describes; it shows nothing itself.
    const std::size_t from = flatOdf.find("<office:master-styles");
    if (from == std::string::npos) return false;
    if (flatOdf.find("<draw:", from) != std::string::npos ||
        flatOdf.find("<table:table", from) != std::string::npos)
        return false;
    bool inMarkup = false;
    for (std::size_t i = from; i < flatOdf.size(); ++i) {
        const char c = flatOdf[i];
        if (c == '<' || c == '>')
            inMarkup = c == '<';
        else if (!inMarkup && !std::isspace(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}

}  // namespace

bool ShowsNothing(_LibreOfficeKitDocument* document, const std::string& scratchBase) {
    // A damaged file lays out as one blank page; anything longer is left alone unread.
    if (document->pClass->getParts(document) > 1) return false;
    const auto text = Exported(document, scratchBase + ".check.txt", "txt", MostTextRead);
    if (!text || !IsOneEmptyParagraph(*text)) return false;
    // No text in the body: pictures, tables and headers may still be there.
    const auto whole = Exported(document, scratchBase + ".check.fodt", "fodt", MostContentRead);
    return whole && FlatOdfShowsNothing(*whole);
}

}  // namespace pendrel::office
