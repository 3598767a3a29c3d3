// A folder of hostile documents through the real window: pictures and text linked from a web
// server and from local files, a macro that runs on opening, an unreadable file and a name that
// is no text. Nothing is fetched (a local web server counts every connection), nothing from
// outside a document reaches its PDF, no macro runs, nothing is left beside the documents, and
// what cannot be converted or added is said.
#include <arpa/inet.h>
#include <linux/capability.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <QtTest>
#include <atomic>
#include <thread>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

// Counts the connections made to it on the loopback address.
class CountingServer {
public:
    CountingServer() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length);
        ::listen(socket_, 16);
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] {
            for (int client; (client = ::accept(socket_, nullptr, nullptr)) >= 0; ::close(client))
                ++connections;
        });
    }
    ~CountingServer() {
        ::shutdown(socket_, SHUT_RDWR);
        ::close(socket_);
        thread_.join();
    }
    std::string Url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }
    std::atomic<int> connections{0};

private:
    int socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int port_ = 0;
    std::thread thread_;
};

std::string LinkedPicture(const std::string& url) {
    return "<text:p>Linked picture:<draw:frame draw:name=\"p\" text:anchor-type=\"as-char\" "
           "svg:width=\"2cm\" svg:height=\"2cm\"><draw:image xlink:href=\"" +
           url +
           "\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/>"
           "</draw:frame></text:p>";
}

// A macro that would put words into the document as it opens.
std::string OpeningMacro() {
    return "<office:scripts><office:script script:language=\"ooo:Basic\"><ooo:libraries>"
           "<ooo:library-embedded ooo:name=\"Standard\"><ooo:module ooo:name=\"Opened\">"
           "<ooo:source-code>Sub Opened\nThisComponent.Text.insertString(ThisComponent.Text."
           "getEnd(), \"MACRO RAN\", False)\nEnd Sub</ooo:source-code></ooo:module>"
           "</ooo:library-embedded></ooo:libraries></office:script></office:scripts>"
           "<office:event-listeners><script:event-listener script:language=\"ooo:script\" "
           "script:event-name=\"dom:load\" xlink:href=\"vnd.sun.star.script:Standard.Opened."
           "Opened?language=Basic&amp;location=document\"/></office:event-listeners>";
}

std::string RtfField(const std::string& instruction) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Field: {\\field{\\*\\fldinst " + instruction +
           "}{\\fldrslt cached}} end.\\par}";
}

bool DropFileOverride() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) return false;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH})
        data[0].effective &= ~(1u << capability);
    return ::syscall(SYS_capset, &header, data) == 0;
}

}  // namespace

class HostileDocumentsTest : public QObject {
    Q_OBJECT

private slots:
    void nothingIsFetchedNothingLeaksAndEveryFailureIsSaid();
};

void HostileDocumentsTest::nothingIsFetchedNothingLeaksAndEveryFailureIsSaid() {
    CountingServer server;
    TempFolder work, dir;
    const fs::path sources = work / "sources", out = dir.Path();
    fs::create_directories(sources);
    const std::string secretPicture = work / "secret.ppm", secretText = work / "secret.txt";

    // Made while the local files they link to are not there yet, so that no copy of them can
    // end up inside the documents; the target's extension is the format.
    const std::map<std::string, std::string> made{
        {"remote-picture.doc", FlatOdf(LinkedPicture(server.Url("remote.ppm")))},
        {"local-picture.doc", FlatOdf(LinkedPicture("file://" + secretPicture))},
        {"remote-odt.odt", FlatOdf(LinkedPicture(server.Url("odt.ppm")))},
        {"local-docx.docx", FlatOdf(LinkedPicture("file://" + secretPicture))},
        {"macro.odt", FlatOdf("<text:p>Opened quietly.</text:p>", OpeningMacro())},
        {"web-page.doc",
         "<html><body><p>Web page</p><img src=\"" + server.Url("html.ppm") + "\"></body></html>"},
    };
    std::vector<MadeFrom> toMake;
    for (const auto& [name, source] : made) {
        toMake.push_back(
            {sources / (name + (source.starts_with("<html") ? ".html" : ".fodt")), sources / name});
        WriteFile(toMake.back().sourcePath, source);
    }
    QVERIFY(MakeDocuments(toMake));
    for (const auto& [name, source] : made)
        CopyTo(sources / name, out / fs::path(name).replace_extension(".doc"));
    WriteFile(out / "include-picture.doc",
              RtfField("INCLUDEPICTURE \"" + secretPicture + "\" \\\\d") +
                  RtfField("INCLUDEPICTURE \"" + server.Url("rtf.ppm") + "\""));
    WriteFile(out / "include-text.doc", RtfField("INCLUDETEXT \"" + secretText + "\""));
    CopyTo(DocumentPath("text"), out / "private.doc");
    ::chmod((out / "private.doc").c_str(), 0);
    CopyTo(DocumentPath("text"), out / "caf\xE9.doc");
    // Now the local files exist, as a user's pictures and notes would.
    WriteFile(secretPicture, Picture(64, 64, 255, 0, 0));
    WriteFile(secretText, "TOPSECRETLOCALTEXT\n");

    QVERIFY(DropFileOverride());  // the test runs as any user would, root or not
    ProgramHarness h;
    h.AddFolder(out);
    QCOMPARE(h.Messages().size(), std::size_t{1});
    QVERIFY(h.Said({"caf\\xE9.doc (its name is not valid text)"}));
    h.Convert();

    QCOMPARE(server.connections.load(), 0);
    for (const char* name : {"remote-picture", "local-picture", "remote-odt", "local-docx",
                             "include-picture", "web-page"}) {
        const std::string pdf = out / (std::string(name) + ".pdf");
        QVERIFY2(PdfPages(pdf) >= 1, name);
        QVERIFY2(PdfImages(pdf) == 0, name);
    }
    QVERIFY(PdfText(out / "include-text.pdf").find("TOPSECRET") == std::string::npos);
    QVERIFY(PdfText(out / "macro.pdf").find("Opened quietly") != std::string::npos);
    QVERIFY(PdfText(out / "macro.pdf").find("MACRO RAN") == std::string::npos);
    QVERIFY(
        h.Said({"private.doc\n\nError 5175: The document cannot be read (Permission denied)."}));
    // The ten documents and the PDFs of the eight that convert: no lock file, nothing else.
    QCOMPARE(FilesBelow(out).size(), std::size_t{18});
}

QTEST_MAIN(HostileDocumentsTest)
#include "HostileDocumentsTest.moc"
