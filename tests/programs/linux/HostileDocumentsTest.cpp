// A folder of hostile documents through the real window: pictures and text linked from a web
// server and from local files, a macro that runs on opening, a Word header over garbage, an
// unreadable file and a name that is no text. Nothing is fetched (a local web server counts
// every connection), nothing from outside a document reaches its PDF, no macro runs, and what
// cannot be converted or added is said.
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

// Counts the connections made to it and answers each with a picture.
class CountingServer {
public:
    CountingServer() {
        socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket_, 16);
        socklen_t length = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~CountingServer() {
        ::shutdown(socket_, SHUT_RDWR);
        ::close(socket_);
        thread_.join();
    }
    std::string Url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }
    int Connections() const { return connections_; }

private:
    void Serve() {
        const std::string picture = PngBytes(16, 16, 255, 0, 0);
        const std::string reply = "HTTP/1.0 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                                  std::to_string(picture.size()) + "\r\n\r\n" + picture;
        for (;;) {
            const int client = ::accept(socket_, nullptr, nullptr);
            if (client < 0) return;
            ++connections_;
            char request[4096];
            [[maybe_unused]] const auto got = ::read(client, request, sizeof request);
            [[maybe_unused]] const auto put = ::write(client, reply.data(), reply.size());
            ::close(client);
        }
    }

    int socket_ = -1;
    int port_ = 0;
    std::atomic<int> connections_{0};
    std::thread thread_;
};

const char* OdfHead =
    R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:script="urn:oasis:names:tc:opendocument:xmlns:script:1.0"
 xmlns:ooo="http://openoffice.org/2004/office" office:version="1.3"
 office:mimetype="application/vnd.oasis.opendocument.text">
)";

std::string LinkedPicture(const std::string& url) {
    return "<text:p>Linked picture:<draw:frame draw:name=\"p\" text:anchor-type=\"as-char\" "
           "svg:width=\"2cm\" svg:height=\"2cm\"><draw:image xlink:href=\"" +
           url +
           "\" xlink:type=\"simple\" xlink:show=\"embed\" xlink:actuate=\"onLoad\"/>"
           "</draw:frame></text:p>";
}

std::string FlatOdf(const std::string& body, const std::string& scripts = "") {
    return OdfHead + scripts + "<office:body><office:text>" + body +
           "</office:text></office:body></office:document>";
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
    const fs::path sources = fs::path(work.Path()) / "sources", out = dir.Path();
    fs::create_directories(sources);
    const std::string secretPicture = work / "secret.png", secretText = work / "secret.txt";

    // Made while the local files they link to are not there yet, so that no copy of them can
    // end up inside the documents.
    const std::vector<std::pair<std::string, std::string>> made{
        {"remote-picture.doc", FlatOdf(LinkedPicture(server.Url("remote.png")))},
        {"local-picture.doc", FlatOdf(LinkedPicture("file://" + secretPicture))},
        {"remote-picture.odt", FlatOdf(LinkedPicture(server.Url("odt.png")))},
        {"local-picture.docx", FlatOdf(LinkedPicture("file://" + secretPicture))},
        {"macro.odt", FlatOdf("<text:p>Opened quietly.</text:p>", OpeningMacro())},
        {"web-page.doc",
         "<html><body><p>Web page</p><img src=\"" + server.Url("html.png") + "\"></body></html>"},
    };
    std::vector<MadeFrom> toMake;
    for (const auto& [name, source] : made) {
        const std::string from =
            sources / (name + (source[0] == '<' && source[1] == 'h' ? ".html" : ".fodt"));
        WriteFile(from, source);
        toMake.push_back({from, sources / name});
    }
    QVERIFY(MakeDocuments(toMake));
    for (const auto& [name, source] : made)
        CopyTo(sources / name, out / (fs::path(name).stem().string() + "-" +
                                      fs::path(name).extension().string().substr(1) + ".doc"));
    WriteFile(out / "include-picture.doc",
              RtfField("INCLUDEPICTURE \"" + secretPicture + "\" \\\\d") +
                  RtfField("INCLUDEPICTURE \"" + server.Url("rtf.png") + "\""));
    WriteFile(out / "include-text.doc", RtfField("INCLUDETEXT \"" + secretText + "\""));
    const std::string good = ReadFile(DocumentPath("text"));
    WriteFile(out / "garbage.doc", good.substr(0, 512) + std::string(20000, '\x5A'));
    WriteFile(out / "private.doc", good);
    ::chmod((out / "private.doc").c_str(), 0);
    WriteFile(out / "caf\xE9.doc", good);
    // Now the local files exist, as a user's pictures and notes would.
    WriteFile(secretPicture, PngBytes(64, 64, 255, 0, 0));
    WriteFile(secretText, "TOPSECRETLOCALTEXT\n");

    QVERIFY(DropFileOverride());  // the test runs as any user would, root or not
    ProgramHarness h;
    h.AddFolder(out);
    QCOMPARE(h.Messages().size(), std::size_t{1});
    QVERIFY2(h.Messages()[0].find("caf\\xE9.doc (its name is not valid text)") != std::string::npos,
             h.Messages()[0].c_str());
    h.program.messageBoxes.setAutoAnswer(true);
    h.Convert();

    QCOMPARE(server.Connections(), 0);
    for (const char* name : {"remote-picture-doc", "local-picture-doc", "remote-picture-odt",
                             "local-picture-docx", "include-picture", "web-page-doc"}) {
        const std::string pdf = out / (std::string(name) + ".pdf");
        QVERIFY2(PdfPages(pdf) >= 1, name);
        QVERIFY2(PdfImages(pdf) == 0, name);
    }
    QVERIFY(PdfText(out / "include-text.pdf").find("TOPSECRET") == std::string::npos);
    QVERIFY(PdfText(out / "macro-odt.pdf").find("Opened quietly") != std::string::npos);
    QVERIFY(PdfText(out / "macro-odt.pdf").find("MACRO RAN") == std::string::npos);

    const auto messages = h.Messages();
    const auto said = [&](const std::string& words) {
        return std::any_of(messages.begin(), messages.end(), [&](const std::string& m) {
            return m.find(words) != std::string::npos;
        });
    };
    QVERIFY(said("garbage.doc\n\nError 5121: The file is not a Word document."));
    QVERIFY(said("private.doc\n\nError 5175: The document cannot be read (Permission denied)."));
    QVERIFY(!Exists(out / "garbage.pdf"));
    QVERIFY(!Exists(out / "private.pdf"));
}

QTEST_MAIN(HostileDocumentsTest)
#include "HostileDocumentsTest.moc"
