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

// An export larger than this is not read: it holds something.
constexpr std::streamoff MostRead = 64ll * 1024 * 1024;

// The file the document was exported to in format, read whole; nothing when the export failed
// or is too large to read. The file is removed.
std::optional<std::string> Exported(_LibreOfficeKitDocument* document, const std::string& path,
                                    const char* format) {
    const bool saved =
        document->pClass->saveAs(document, FileUrlFromPath(path).c_str(), format, nullptr);
    std::optional<std::string> bytes;
    if (std::ifstream in(path, std::ios::binary | std::ios::ate);
        saved && in && in.tellg() <= MostRead) {
        in.seekg(0);
        bytes = std::string(std::istreambuf_iterator<char>(in), {});
    }
    ::unlink(path.c_str());
    return bytes;
}

bool AllSpace(const std::string& text, std::size_t from = 0) {
    for (std::size_t i = from; i < text.size(); ++i)
        if (!std::isspace(static_cast<unsigned char>(text[i]))) return false;
    return true;
}

}  // namespace

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

bool ShowsNothing(_LibreOfficeKitDocument* document, const std::string& scratchBase) {
    // A damaged file lays out as one blank page; anything longer is left alone unread.
    if (document->pClass->getParts(document) > 1) return false;
    const auto text = Exported(document, scratchBase + ".check.txt", "txt");
    const std::string byteOrderMark = "\xEF\xBB\xBF";
    if (!text || !AllSpace(*text, text->starts_with(byteOrderMark) ? byteOrderMark.size() : 0))
        return false;
    // No text in the body: pictures, tables and headers may still be there.
    const auto whole = Exported(document, scratchBase + ".check.fodt", "fodt");
    return whole && FlatOdfShowsNothing(*whole);
}

}  // namespace pendrel::office
