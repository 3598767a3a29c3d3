#include "tests/support/TestDocuments.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "platform/office/helper/CompoundFile.h"

namespace pendrel::testing {
namespace {

namespace fs = std::filesystem;

// ---- Sources ------------------------------------------------------------------------------

const char* FlatOdfHead =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
)";

std::string FlatOdf(const std::string& body, const std::string& masterPage = "") {
    std::string styles;
    if (!masterPage.empty())
        styles = "<office:master-styles>" + masterPage + "</office:master-styles>\n";
    return FlatOdfHead + styles + "<office:body><office:text>\n" + body +
           "</office:text></office:body></office:document>\n";
}

std::string Paragraph(const std::string& text) {
    return "<text:p>" + text + "</text:p>\n";
}

std::string Base64(const std::string& bytes) {
    static const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t chunk = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) chunk |= static_cast<unsigned char>(bytes[i + 2]);
        out += digits[(chunk >> 18) & 63];
        out += digits[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[chunk & 63] : '=';
    }
    return out;
}

const char* Fox = "The quick brown fox jumps over the lazy dog.";

std::string Pages(int count, const std::string& title) {
    std::string body;
    for (int page = 1; page <= count; ++page) {
        body += "<text:p text:style-name=\"P\">" + title + " page " + std::to_string(page) +
                "</text:p>\n";
        for (int line = 0; line < 3; ++line) body += Paragraph(Fox);
    }
    return body;
}

// Every page begins a new page: a paragraph style with a break before it.
std::string PageBreakStyle() {
    return "<office:automatic-styles><style:style style:name=\"P\" style:family=\"paragraph\">"
           "<style:paragraph-properties fo:break-before=\"page\"/></style:style>"
           "</office:automatic-styles>\n";
}

std::string PagedFlatOdf(int count, const std::string& title) {
    std::string document = FlatOdf(Pages(count, title));
    const std::string body = "<office:body>";
    document.insert(document.find(body), PageBreakStyle());
    return document;
}

std::vector<TestDocument> MakeStandardSet() {
    const std::string picture = PngBytes(48, 32, 0x20, 0x60, 0xC0);
    const std::string table =
        "<table:table table:name=\"Prices\"><table:table-column "
        "table:number-columns-repeated=\"2\"/>"
        "<table:table-row><table:table-cell><text:p>Apples</text:p></table:table-cell>"
        "<table:table-cell><text:p>12 pence</text:p></table:table-cell></table:table-row>"
        "<table:table-row><table:table-cell><text:p>Pears</text:p></table:table-cell>"
        "<table:table-cell><text:p>15 pence</text:p></table:table-cell></table:table-row>"
        "</table:table>\n";
    const std::string image =
        "<text:p>A blue picture follows.<draw:frame draw:name=\"Blue\" text:anchor-type=\"as-char\""
        " svg:width=\"3cm\" svg:height=\"2cm\"><draw:image><office:binary-data>" +
        Base64(picture) + "</office:binary-data></draw:image></draw:frame></text:p>\n";
    const std::string headerFooter =
        "<style:master-page style:name=\"Standard\" style:page-layout-name=\"pm1\">"
        "<style:header><text:p>Quarterly header line</text:p></style:header>"
        "<style:footer><text:p>Confidential footer line</text:p></style:footer>"
        "</style:master-page>";
    const std::string comment =
        "<text:p>Reviewed text<office:annotation><dc:creator>Reviewer</dc:creator>"
        "<text:p>Check these figures</text:p></office:annotation> ends here.</text:p>\n";
    const std::string scripts = Paragraph("Съешь же ещё этих мягких французских булок.") +
                                Paragraph("中文文本测试，日本語のテキスト。");
    const std::string rtf =
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Rich text saved under a Word name. " +
        std::string(Fox) + "\\par}";
    return {
        {"text", "fodt", FlatOdf(Paragraph("Plain words of a letter.") + Paragraph(Fox)), "doc", 1,
         "lazy dog"},
        {"table", "fodt", FlatOdf(Paragraph("Price list") + table), "doc", 1, "Pears"},
        {"image", "fodt", FlatOdf(image), "doc", 1, "blue picture"},
        {"header-footer", "fodt", FlatOdf(Paragraph(Fox), headerFooter), "doc", 1,
         "Confidential footer line"},
        {"comment", "fodt", FlatOdf(comment), "doc", 1, "Reviewed text"},
        {"cyrillic-cjk", "fodt", FlatOdf(scripts), "doc", 1, "французских"},
        {"pages", "fodt", PagedFlatOdf(12, "Chapter"), "doc", 12, "Chapter page 12"},
        {"long", "fodt", PagedFlatOdf(400, "Volume"), "doc", 400, "Volume page 400"},
        {"docx", "fodt", FlatOdf(Paragraph("Office Open XML under a Word name.")), "docx", 1,
         "Office Open XML"},
        {"odt", "fodt", FlatOdf(Paragraph("OpenDocument text under a Word name.")), "odt", 1,
         "OpenDocument text"},
        {"rtf", "rtf", rtf, "rtf", 1, "Rich text saved"},
    };
}

// Documents only some tests need: one long enough to be interrupted in the middle.
std::vector<TestDocument> MakeExtraSet() {
    return {{"huge", "fodt", PagedFlatOdf(3000, "Tome"), "doc", 3000, "Tome page 3000"}};
}

const std::vector<TestDocument>& ExtraDocuments() {
    static const std::vector<TestDocument> set = MakeExtraSet();
    return set;
}

// ---- The cache ----------------------------------------------------------------------------

fs::path CacheFolder() {
    return fs::path(PENDREL_TEST_DOCUMENTS);
}

// A name that changes whenever the source does, so an edited source is made again.
std::string CachedName(const TestDocument& document) {
    std::ostringstream hash;
    hash << std::hex << std::hash<std::string>{}(document.source + document.savedAs);
    return document.name + "-" + hash.str() + ".doc";
}

// Holds the cache for one test program at a time.
class CacheLock {
public:
    CacheLock() {
        fs::create_directories(CacheFolder());
        fd_ = ::open((CacheFolder() / ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~CacheLock() {
        if (fd_ >= 0) ::close(fd_);
    }
    CacheLock(const CacheLock&) = delete;
    CacheLock& operator=(const CacheLock&) = delete;

private:
    int fd_ = -1;
};

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool RunMaker(const std::vector<MadeFrom>& documents) {
    std::vector<std::string> args{PENDREL_MAKE_DOCUMENTS, (CacheFolder() / "profile").string()};
    for (const MadeFrom& d : documents) {
        args.push_back(d.sourcePath);
        args.push_back(d.targetPath);
    }
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// ---- PNG ----------------------------------------------------------------------------------

std::uint32_t Crc32(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Chunk(const std::string& type, const std::string& data) {
    return BigEndian(static_cast<std::uint32_t>(data.size())) + type + data +
           BigEndian(Crc32(type + data));
}

// The image data in deflate's stored blocks: valid, if not small.
std::string Zlib(const std::string& raw) {
    std::string out = "\x78\x01";
    for (std::size_t at = 0; at < raw.size() || at == 0; at += 65535) {
        const std::size_t length = std::min<std::size_t>(65535, raw.size() - at);
        const bool last = at + length >= raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out += raw.substr(at, length);
        if (last) break;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return out + BigEndian((b << 16) | a);
}

}  // namespace

std::string PngBytes(int width, int height, unsigned char red, unsigned char green,
                     unsigned char blue) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < width; ++x)
            raw += {static_cast<char>(red), static_cast<char>(green), static_cast<char>(blue)};
    }
    const std::string header = BigEndian(static_cast<std::uint32_t>(width)) +
                               BigEndian(static_cast<std::uint32_t>(height)) +
                               std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", Zlib(raw)) +
           Chunk("IEND", "");
}

const std::vector<TestDocument>& StandardDocuments() {
    static const std::vector<TestDocument> set = MakeStandardSet();
    return set;
}

const TestDocument& Standard(const std::string& name) {
    for (const auto* set : {&StandardDocuments(), &ExtraDocuments()})
        for (const TestDocument& document : *set)
            if (document.name == name) return document;
    throw std::out_of_range("no test document " + name);
}

bool MakeDocuments(const std::vector<MadeFrom>& documents) {
    return documents.empty() || RunMaker(documents);
}

std::string DocumentPath(const std::string& name) {
    const CacheLock lock;
    std::vector<MadeFrom> missing;
    std::vector<std::pair<fs::path, fs::path>> renames;
    std::vector<TestDocument> wanted = StandardDocuments();
    if (Standard(name).name == ExtraDocuments().front().name) wanted = ExtraDocuments();
    for (const TestDocument& d : wanted) {
        const fs::path cached = CacheFolder() / CachedName(d);
        if (fs::exists(cached)) continue;
        const fs::path source = CacheFolder() / "sources" / (d.name + "." + d.sourceExtension);
        fs::create_directories(source.parent_path());
        WriteFile(source, d.source);
        // Saved under its format's own extension first, then given the .doc name.
        const fs::path made = CacheFolder() / "made" / (d.name + "." + d.savedAs);
        fs::create_directories(made.parent_path());
        missing.push_back({source.string(), made.string()});
        renames.emplace_back(made, cached);
    }
    if (!missing.empty() && !MakeDocuments(missing))
        throw std::runtime_error("the engine could not make the test documents");
    for (const auto& [made, cached] : renames) fs::rename(made, cached);
    return (CacheFolder() / CachedName(Standard(name))).string();
}

bool MakeEncrypted(const std::string& source, const std::string& target) {
    std::string bytes;
    {
        std::ifstream in(source, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const office::ReadAt read = [&](std::uint64_t offset, std::size_t size, char* out) {
        if (offset + size > bytes.size()) return false;
        std::copy_n(bytes.data() + offset, size, out);
        return true;
    };
    const auto file = office::CompoundFile::Open(bytes.size(), read);
    if (!file) return false;
    const auto word = file->StreamFileOffset(u"WordDocument");
    if (!word || *word + 12 > bytes.size()) return false;
    // The header's flags: bit 8 encrypted, bit 9 which table stream holds the rest.
    auto flags = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[*word + 10]) |
                                            (static_cast<unsigned char>(bytes[*word + 11]) << 8));
    const auto table = file->StreamFileOffset((flags & 0x0200) ? u"1Table" : u"0Table");
    if (!table || *table + 4 > bytes.size()) return false;
    flags |= 0x0100;
    bytes[*word + 10] = static_cast<char>(flags & 0xFF);
    bytes[*word + 11] = static_cast<char>(flags >> 8);
    // RC4 encryption, version 1.1: the importer asks for the password next.
    bytes.replace(*table, 4, std::string("\x01\x00\x01\x00", 4));
    std::ofstream(target, std::ios::binary) << bytes;
    return true;
}

}  // namespace pendrel::testing
