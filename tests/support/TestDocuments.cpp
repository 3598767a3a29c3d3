#include "tests/support/TestDocuments.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/office/formats/CompoundFile.h"

extern char** environ;

namespace pendrel::testing {
namespace {

namespace fs = std::filesystem;

const std::string Fox = "The quick brown fox jumps over the lazy dog.";

std::string Rtf(const std::string& body) {
    return "{\\rtf1\\ansi " + body + "\\par}";
}

// count pages, each opening with "<title> page <n>".
std::string Pages(int count, const std::string& title) {
    std::string body;
    for (int page = 1; page <= count; ++page)
        body += (page > 1 ? "\\page " : "") + title + " page " + std::to_string(page) + "\\par " +
                Fox + "\\par " + Fox + "\\par " + Fox;
    return Rtf(body);
}

// A line in each script a Word document is likely to use, each in the fonts Word gives it
// (Latin, East Asian, complex script), none of which Debian has.
std::string Scripts() {
    struct Line {
        const char *latin, *asian, *complex, *text;
    };
    static constexpr Line Lines[] = {
        {"Times New Roman", "SimSun", "Mangal", "中文：我们的文件在这里打印。"},
        {"Times New Roman", "MS Mincho", "Mangal",
         "日本語：ひらがな、カタカナ、漢字を印刷します。"},
        {"Times New Roman", "Batang", "Mangal", "한국어: 이 문서는 인쇄됩니다."},
        {"Tahoma", "SimSun", "Angsana New", "ภาษาไทย: เอกสารนี้พิมพ์ได้"},
        {"Calibri", "SimSun", "Mangal", "हिन्दी: यह दस्तावेज़ छपता है।"},
        {"Calibri", "SimSun", "Vrinda", "বাংলা: এই নথি ছাপা হয়।"},
        {"Calibri", "SimSun", "Latha", "தமிழ்: இந்த ஆவணம் அச்சிடப்படுகிறது."},
        {"Arial", "SimSun", "Simplified Arabic", "العربية: هذه الوثيقة مطبوعة."},
        {"Arial", "SimSun", "David", "עברית: המסמך הזה מודפס."},
        {"Cambria", "SimSun", "Mangal", "Ελληνικά: Το έγγραφο τυπώνεται."},
        {"Verdana", "SimSun", "Mangal", "Русский: Этот документ печатается."},
        {"Sylfaen", "SimSun", "Mangal", "ქართული: ეს დოკუმენტი იბეჭდება."},
        {"Sylfaen", "SimSun", "Mangal", "Հայերեն: Այս փաստաթուղթը տպվում է։"},
        {"Georgia", "SimSun", "Mangal", "Tiếng Việt: Tài liệu này được in ra."},
    };
    std::string styles = "<office:automatic-styles>", body;
    for (std::size_t i = 0; i < std::size(Lines); ++i) {
        const std::string name = "L" + std::to_string(i);
        styles += "<style:style style:name=\"" + name +
                  "\" style:family=\"paragraph\"><style:text-properties fo:font-family=\"'" +
                  Lines[i].latin + "'\" style:font-family-asian=\"'" + Lines[i].asian +
                  "'\" style:font-family-complex=\"'" + Lines[i].complex + "'\"/></style:style>";
        body += "<text:p text:style-name=\"" + name + "\">" + Lines[i].text + "</text:p>";
    }
    return FlatOdf(body, styles + "</office:automatic-styles>");
}

// A Writer document embedded as an object, which the .doc keeps as an embedded Word document
// with the picture of it that Word prints.
std::string Embedded() {
    return FlatOdf(
        "<text:p>An embedded document follows.</text:p><text:p><draw:frame svg:width=\"8cm\" "
        "svg:height=\"3cm\" text:anchor-type=\"as-char\"><draw:object><office:document "
        "office:mimetype=\"application/vnd.oasis.opendocument.text\" office:version=\"1.3\">"
        "<office:body><office:text><text:p>Inside the embedded document</text:p></office:text>"
        "</office:body></office:document></draw:object></draw:frame></text:p>");
}

// Headings (the PDF's outline), a link, and the title and author of its properties.
std::string Outlined() {
    return FlatOdf(
        "<text:h text:outline-level=\"1\">Introduction</text:h><text:p>" + Fox +
            "</text:p><text:h text:outline-level=\"2\">Method of work</text:h><text:p>See "
            "<text:a xlink:type=\"simple\" xlink:href=\"https://example.org/pendrel/results\">"
            "the results page</text:a>.</text:p><text:h text:outline-level=\"1\">Findings</text:h>"
            "<text:p>" +
            Fox + "</text:p>",
        "<office:meta><dc:title>Quarterly Findings</dc:title><dc:creator>Ada Lovelace"
        "</dc:creator><meta:initial-creator>Ada Lovelace</meta:initial-creator></office:meta>");
}

std::vector<TestDocument> MakeSet() {
    std::string picture;  // in hexadecimal
    for (const unsigned char byte : Picture(48, 32, 0x20, 0x60, 0xC0))
        picture += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    const std::string row = "\\trowd\\cellx2500\\cellx5000 ";
    return {
        {"text", Rtf("Plain words of a letter.\\par " + Fox), "doc", 1, "lazy dog"},
        {"table",
         Rtf("Price list\\par" + row + "Apples\\cell 12 pence\\cell\\row" + row +
             "Pears\\cell 15 pence\\cell\\row"),
         "doc", 1, "Pears"},
        {"image",
         Rtf("A blue picture follows.{\\pict\\picw48\\pich32\\picwgoal1700\\pichgoal1130 " +
             picture + "}"),
         "doc", 1, "blue picture", 1},
        {"header-footer",
         Rtf("{\\header Quarterly header line\\par}{\\footer Confidential footer line\\par}" + Fox),
         "doc", 1, "Confidential footer line"},
        {"comment",
         Rtf("Reviewed text{\\*\\atnid R}{\\*\\atnauthor Reviewer}\\chatn"
             "{\\*\\annotation Check these figures} ends here."),
         "doc", 1, "Reviewed text"},
        {"cyrillic-cjk",
         FlatOdf("<text:p>Съешь же ещё этих мягких французских булок.</text:p>"
                 "<text:p>中文文本测试，日本語のテキスト。</text:p>"),
         "doc", 1, "французских"},
        {"pages", Pages(12, "Chapter"), "doc", 12, "Chapter page 12"},
        {"long", Pages(400, "Volume"), "doc", 400, "Volume page 400"},
        {"docx", Rtf("Office Open XML under a Word name."), "docx", 1, "Office Open XML"},
        {"rtf", Rtf("Rich text saved under a Word name."), "rtf", 1, "Rich text saved"},
        {"scripts", Scripts(), "doc", 1, "ქართული"},
        {"embedded", Embedded(), "doc", 1, "An embedded document follows.", 2},
        {"outlined", Outlined(), "doc", 1, "the results page"},
        {"huge", Pages(3000, "Tome"), "doc", 3000, "Tome page 3000"},  // last: not standard
    };
}

const std::vector<TestDocument>& AllDocuments() {
    static const std::vector<TestDocument> set = MakeSet();
    return set;
}

fs::path CacheFolder() {
    return PENDREL_TEST_DOCUMENTS;
}

// A name that changes whenever the source does, so an edited source is made again.
fs::path Cached(const TestDocument& document) {
    std::ostringstream hash;
    hash << std::hex << std::hash<std::string>{}(document.source + document.savedAs);
    return CacheFolder() / (document.name + "-" + hash.str() + ".doc");
}

// Holds the cache, and the engine's profile in it, for one test program at a time.
struct CacheLock {
    CacheLock() {
        fs::create_directories(CacheFolder() / "made");
        fd = ::open((CacheFolder() / ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
        ::flock(fd, LOCK_EX);
    }
    ~CacheLock() { ::close(fd); }
    int fd = -1;
};

bool RunMaker(const std::vector<MadeFrom>& documents) {
    if (documents.empty()) return true;
    std::vector<std::string> args{PENDREL_MAKE_DOCUMENTS, (CacheFolder() / "profile").string()};
    for (const MadeFrom& d : documents) args.insert(args.end(), {d.sourcePath, d.targetPath});
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    int status = 0;
    return ::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 &&
           ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The Word document with its WordDocument stream given another name, which makes it the
// compound file of another program.
std::string Renamed(std::string bytes, const std::u16string& stream) {
    const std::u16string word = u"WordDocument";
    const auto at = bytes.find(std::string(reinterpret_cast<const char*>(word.data()), 24));
    if (at == std::string::npos) return "";
    std::string name(64, '\0');
    std::copy_n(reinterpret_cast<const char*>(stream.data()), stream.size() * 2, name.data());
    bytes.replace(at, 64, name);
    bytes[at + 64] = static_cast<char>((stream.size() + 1) * 2);
    return bytes;
}

// A ZIP holding one empty entry under name: enough to look like an Office Open XML file.
std::string ZipWith(const std::string& name) {
    const auto u16 = [](std::size_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    const auto u32 = [&](std::size_t v) { return u16(v & 0xFFFF) + u16(v >> 16); };
    const std::string local = "PK\x03\x04" + u16(20) + u16(0) + u16(0) + u32(0) + u32(0) + u32(0) +
                              u32(0) + u16(name.size()) + u16(0) + name;
    const std::string central = "PK\x01\x02" + u16(20) + u16(20) + u16(0) + u16(0) + u32(0) +
                                u32(0) + u32(0) + u32(0) + u16(name.size()) + u16(0) + u16(0) +
                                u16(0) + u16(0) + u32(0) + u32(0) + name;
    return local + central + "PK\x05\x06" + u16(0) + u16(0) + u16(1) + u16(1) +
           u32(central.size()) + u32(local.size()) + u16(0);
}

// The compound file in bytes, which must outlive it.
std::optional<office::CompoundFile> CompoundOf(const std::string& bytes) {
    return office::CompoundFile::Open(bytes.size(),
                                      [&bytes](std::uint64_t offset, std::size_t size, char* out) {
                                          if (offset + size > bytes.size()) return false;
                                          std::copy_n(bytes.data() + offset, size, out);
                                          return true;
                                      });
}

// The Word document marked as encrypted the way Word marks it (the flag in its header and an
// RC4 encryption header in its table stream), so that the importer asks for a password.
// LibreOffice cannot save an encrypted .doc itself.
std::string Encrypted(std::string bytes) {
    const auto file = CompoundOf(bytes);
    const auto word = file ? file->StreamFileOffset(u"WordDocument") : std::nullopt;
    if (!word) return "";
    // The header's flags: bit 8 encrypted, bit 9 which table stream holds the rest.
    const bool table1 = static_cast<unsigned char>(bytes[*word + 11]) & 0x02;
    const auto table = file->StreamFileOffset(table1 ? u"1Table" : u"0Table");
    if (!table) return "";
    bytes[*word + 11] = static_cast<char>(bytes[*word + 11] | 0x01);
    bytes.replace(*table, 4, std::string("\x01\x00\x01\x00", 4));
    return bytes;
}

// The stream's bytes from `from` on are replaced with noise, as far as they lie in one piece
// in the file.
void Overwrite(std::string& bytes, const std::u16string& name, std::size_t from,
               const std::string& noise) {
    const auto file = CompoundOf(bytes);
    const auto at = file ? file->StreamFileOffset(name) : std::nullopt;
    const auto stream = file ? file->StreamStart(name, noise.size()) : std::nullopt;
    if (!at || !stream) return;
    std::size_t end = from;
    while (end < stream->size() && *at + end < bytes.size() && bytes[*at + end] == (*stream)[end])
        ++end;
    if (end > from) bytes.replace(*at + from, end - from, noise, 0, end - from);
}

// The Word document with its WordDocument stream kept only up to the end of the header's
// fixed part (magic number, version, flags) and noise after it, noise in which the header's
// count of text comes out negative, as it does for half of all noise: LibreOffice makes one
// blank page of it, where Word refuses it.
std::string HeaderThenNoise(std::string bytes, std::string noise) {
    constexpr std::size_t FixedHeader = 32, TextCountTopByte = 79;
    noise[TextCountTopByte - FixedHeader] |= '\x80';
    Overwrite(bytes, u"WordDocument", FixedHeader, noise);
    return bytes;
}

}  // namespace

std::string FlatOdf(const std::string& body, const std::string& head) {
    return R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:dc="http://purl.org/dc/elements/1.1/"
 xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0"
 xmlns:script="urn:oasis:names:tc:opendocument:xmlns:script:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink"
 xmlns:ooo="http://openoffice.org/2004/office" office:version="1.3"
 office:mimetype="application/vnd.oasis.opendocument.text">
)" + head + "<office:body><office:text>\n" +
           body + "</office:text></office:body></office:document>\n";
}

std::string Picture(int width, int height, unsigned char red, unsigned char green,
                    unsigned char blue) {
    std::string picture = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (int i = 0; i < width * height; ++i) picture += {char(red), char(green), char(blue)};
    return picture;
}

std::span<const TestDocument> StandardDocuments() {
    return std::span(AllDocuments()).first(AllDocuments().size() - 1);
}

std::string DocumentPath(const std::string& name) {
    const auto& all = AllDocuments();
    const auto wanted =
        std::find_if(all.begin(), all.end(), [&](const auto& d) { return d.name == name; });
    if (wanted == all.end()) throw std::out_of_range("no test document " + name);
    const CacheLock lock;
    // The missing ones are made together: one start of the engine.
    std::vector<MadeFrom> missing;
    std::vector<fs::path> cached;
    for (const TestDocument& d : all) {
        if (fs::exists(Cached(d))) continue;
        const fs::path made = CacheFolder() / "made" / d.name;
        const std::string source = made.string() + (d.source[0] == '{' ? ".rtf" : ".fodt");
        std::ofstream(source, std::ios::binary) << d.source;
        missing.push_back({source, made.string() + "." + d.savedAs});
        cached.push_back(Cached(d));
    }
    if (!RunMaker(missing)) throw std::runtime_error("the engine could not make the documents");
    for (std::size_t i = 0; i < missing.size(); ++i) fs::rename(missing[i].targetPath, cached[i]);
    return Cached(*wanted);
}

std::vector<BadDocument> BadDocuments() {
    const std::string text = ReadFile(DocumentPath("text"));
    std::mt19937 random(7);
    std::string noise(20000, '\0');
    for (char& byte : noise) byte = static_cast<char>(random());
    const std::string notWord = "The file is not a Word document.";
    const std::string sheet = "The file is a spreadsheet, not a Word document.";
    return {
        {"empty.doc", "", "The file is empty, not a Word document."},
        {"truncated.doc", text.substr(0, text.size() / 3), "not a Word document"},
        {"random.doc", noise, notWord},
        {"notes.doc", "Just some text, saved under a Word name.\n", notWord},
        {"garbage.doc", text.substr(0, 512) + noise, notWord},
        {"sheet.doc", Renamed(text, u"Workbook"), sheet},
        {"sheet-xlsx.doc", ZipWith("xl/workbook.xml"), sheet},
        {"slides.doc", Renamed(text, u"PowerPoint Document"),
         "The file is a presentation, not a Word document."},
        {"locked.doc", Encrypted(text), "protected with a password"},
        {"blank.doc", HeaderThenNoise(text, noise),
         "The document is damaged and cannot be opened (its Word header is damaged, and no text "
         "could be read)."},
    };
}

bool MakeDocuments(const std::vector<MadeFrom>& documents) {
    const CacheLock lock;
    return RunMaker(documents);
}

}  // namespace pendrel::testing
