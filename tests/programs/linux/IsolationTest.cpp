// The layers that shut the renderer in, each tested with the ones above it left out, through
// the real window: namespaces alone, Landlock and seccomp alone, and none. The documents'
// embedded SVG pictures link local pictures: one where the system's folders are (/opt as root,
// /dev/shm), and through /proc, the window's own /tmp and the renderer's own root. No layer
// lets any of them into a PDF; with none, nothing is converted unless the user allows it, and
// then the user is told once.
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>

#include "platform/office/helper/Landlock.h"
#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

constexpr const char* LayersOff = "PENDREL_OFFICE_SANDBOX_OFF";

std::string Base64(const std::string& bytes) {
    static constexpr char Digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t taken = std::min<std::size_t>(bytes.size() - i, 3);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k)
            group = group << 8 | (k < taken ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        for (std::size_t k = 0; k < 4; ++k)
            out += k <= taken ? Digits[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

// A picture embedded in the document: an SVG that links the picture at url.
std::string SvgLinking(const std::string& url) {
    const std::string svg =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
        "width=\"100\" height=\"100\" viewBox=\"0 0 100 100\"><rect width=\"100\" "
        "height=\"100\" fill=\"none\" stroke=\"black\"/><image x=\"10\" y=\"10\" width=\"80\" "
        "height=\"80\" xlink:href=\"" +
        url + "\"/></svg>";
    return "<text:p>Embedded SVG:<draw:frame draw:name=\"s\" text:anchor-type=\"as-char\" "
           "svg:width=\"3cm\" svg:height=\"3cm\"><draw:image draw:mime-type=\"image/svg+xml\">"
           "<office:binary-data>" +
           Base64(svg) + "</office:binary-data></draw:image></draw:frame></text:p>";
}

// Whether this process may make the namespaces the helper makes: its own users, or, with the
// right to mount, without.
bool NamespacesAvailable() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(::unshare(CLONE_NEWUSER | CLONE_NEWNS | CLONE_NEWNET) == 0 ||
                        ::unshare(CLONE_NEWNS | CLONE_NEWNET) == 0
                    ? 0
                    : 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A folder of its own at path, removed afterwards; none when it cannot be made.
class PlacedFolder {
public:
    explicit PlacedFolder(std::string path) : path_(std::move(path)) {
        std::error_code error;
        made_ = fs::create_directories(path_, error);
    }
    ~PlacedFolder() {
        std::error_code error;
        if (made_) fs::remove_all(path_, error);
    }
    PlacedFolder(const PlacedFolder&) = delete;
    PlacedFolder& operator=(const PlacedFolder&) = delete;
    bool Made() const { return made_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    bool made_ = false;
};

}  // namespace

class IsolationTest : public QObject {
    Q_OBJECT

private slots:
    void theSettingIsReadFromPendrelsSettingsFile();
    void initTestCase();
    void cleanupTestCase();
    void namespacesAloneShowNoPictureFromOutside();
    void rootsNamespacesWithoutAUserNamespaceShowNoOtherProcess();
    void landlockAndSeccompAloneShowNoPictureFromOutside();
    void withNoneNothingIsConvertedByDefault();
    void withNoneAllowedDocumentsAreConvertedAfterOneWarning();

private:
    // Converts the documents with these layers left out; the harness, for its messages.
    std::unique_ptr<ProgramHarness> Convert(const char* layersOff,
                                            const programs::SandboxSettings& sandbox = {});
    void ExpectNoPictureFromOutside(ProgramHarness& h);

    std::unique_ptr<TempFolder> work_;
    std::unique_ptr<PlacedFolder> system_, shared_;
    std::vector<std::string> documents_;  // names in work_/out, without ".doc"
};

// Qt keeps the settings' folder once it has read a setting: this is the process's first read.
void IsolationTest::theSettingIsReadFromPendrelsSettingsFile() {
    TempFolder config;
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.Path()));
    const programs::SandboxSettings unset = programs::ReadSandboxSettings();
    QCOMPARE(unset.allowUnisolated, false);
    QCOMPARE(unset.file, config / "pendrel/pendrel.conf");
    fs::create_directories(config / "pendrel");
    WriteFile(config / "pendrel/pendrel.conf",
              "[pdf]\ntagged=true\n[sandbox]\nallow_unisolated=true\n");
    QCOMPARE(programs::ReadSandboxSettings().allowUnisolated, true);
    qunsetenv("XDG_CONFIG_HOME");
}

void IsolationTest::initTestCase() {
    work_ = std::make_unique<TempFolder>();
    const std::string tag = "pendrel-isolation-test-" + std::to_string(::getpid());
    // Where the old sandbox showed the whole system: /opt (writable by root only) and /dev.
    system_ = std::make_unique<PlacedFolder>("/opt/" + tag);
    shared_ = std::make_unique<PlacedFolder>("/dev/shm/" + tag);
    std::map<std::string, std::string> links{
        // The window's own temporary folder, seen through its root in /proc.
        {"window-root",
         "file:///proc/" + std::to_string(::getpid()) + "/root" + (*work_ / "secret.ppm")},
    };
    if (shared_->Made()) {
        links["dev-shm"] = "file://" + (*shared_ / "secret.ppm");
        links["self-root"] = "file:///proc/self/root" + (*shared_ / "secret.ppm");
    }
    if (system_->Made()) links["opt"] = "file://" + (*system_ / "secret.ppm");

    const fs::path sources = *work_ / "sources", out = *work_ / "out";
    fs::create_directories(sources);
    fs::create_directories(out);
    std::vector<MadeFrom> toMake;
    for (const auto& [name, url] : links) {
        toMake.push_back({sources / (name + ".fodt"), sources / (name + ".odt")});
        WriteFile(toMake.back().sourcePath, FlatOdf(SvgLinking(url)));
        documents_.push_back(name);
    }
    // Made while the pictures are not there yet, so that no copy of them is in the documents.
    QVERIFY(MakeDocuments(toMake));
    for (const std::string& name : documents_)
        CopyTo(sources / (name + ".odt"), out / (name + ".doc"));
    CopyTo(DocumentPath("text"), out / "text.doc");
    const std::string secret = Picture(64, 64, 255, 0, 0);
    WriteFile(*work_ / "secret.ppm", secret);
    if (shared_->Made()) WriteFile(*shared_ / "secret.ppm", secret);
    if (system_->Made()) WriteFile(*system_ / "secret.ppm", secret);
}

void IsolationTest::cleanupTestCase() {
    system_.reset();
    shared_.reset();
    work_.reset();
    qunsetenv(LayersOff);
}

std::unique_ptr<ProgramHarness> IsolationTest::Convert(const char* layersOff,
                                                       const programs::SandboxSettings& sandbox) {
    const std::string out = *work_ / "out";
    for (const std::string& pdf : FilesBelow(out))
        if (pdf.ends_with(".pdf")) fs::remove(out + "/" + pdf);
    qputenv(LayersOff, layersOff);
    auto h = std::make_unique<ProgramHarness>(sandbox);
    h->AddFolder(out);
    h->Convert();
    qunsetenv(LayersOff);
    return h;
}

void IsolationTest::ExpectNoPictureFromOutside(ProgramHarness& h) {
    const std::string out = *work_ / "out";
    QCOMPARE(h.Statuses().size(), documents_.size() + 1);
    for (const auto& [path, status] : h.Statuses()) QVERIFY2(status == "Done", path.c_str());
    QVERIFY(PdfPages(out + "/text.pdf") >= 1);
    for (const std::string& name : documents_) {
        const std::string pdf = out + "/" + name + ".pdf";
        QVERIFY2(PdfText(pdf).find("Embedded SVG") != std::string::npos, name.c_str());
        QVERIFY2(PdfImages(pdf) == 0, name.c_str());
    }
}

void IsolationTest::namespacesAloneShowNoPictureFromOutside() {
    if (!NamespacesAvailable()) QSKIP("this system gives this user no namespaces to make");
    auto h = Convert("landlock,seccomp");
    ExpectNoPictureFromOutside(*h);
    QVERIFY(h->Messages().empty());
}

// Root without user namespaces makes the others all the same; the window's root in /proc must
// not be there for it either.
void IsolationTest::rootsNamespacesWithoutAUserNamespaceShowNoOtherProcess() {
    if (::geteuid() != 0) QSKIP("only root makes namespaces without a user namespace");
    auto h = Convert("usernamespace,landlock,seccomp");
    ExpectNoPictureFromOutside(*h);
    QVERIFY(h->Messages().empty());
}

void IsolationTest::landlockAndSeccompAloneShowNoPictureFromOutside() {
    if (office::LandlockAbi() == 0) QSKIP("this kernel offers no Landlock");
    auto h = Convert("namespaces");
    ExpectNoPictureFromOutside(*h);
    QVERIFY(h->Messages().empty());
}

void IsolationTest::withNoneNothingIsConvertedByDefault() {
    auto h =
        Convert("namespaces,landlock,seccomp", {false, "/home/u/.config/pendrel/pendrel.conf"});
    for (const auto& [path, status] : h->Statuses()) QCOMPARE(status, std::string("Queued"));
    QCOMPARE(h->Messages().size(), std::size_t{1});
    QVERIFY2(h->Said({BatchRun::EngineUnavailableMessage,
                      "cannot shut documents off from the rest of the system (namespaces: left "
                      "out by PENDREL_OFFICE_SANDBOX_OFF; Landlock: left out by "
                      "PENDREL_OFFICE_SANDBOX_OFF; seccomp: left out by "
                      "PENDREL_OFFICE_SANDBOX_OFF)",
                      "to convert all the same, set allow_unisolated=true in the [sandbox] group "
                      "of /home/u/.config/pendrel/pendrel.conf."}),
             h->Messages().front().c_str());
    for (const std::string& file : FilesBelow(*work_ / "out"))
        QVERIFY2(!file.ends_with(".pdf"), file.c_str());
}

void IsolationTest::withNoneAllowedDocumentsAreConvertedAfterOneWarning() {
    auto h = Convert("namespaces,landlock,seccomp", {true, "pendrel.conf"});
    for (const auto& [path, status] : h->Statuses()) QVERIFY2(status == "Done", path.c_str());
    QCOMPARE(h->Messages().size(), std::size_t{1});
    QVERIFY(h->Said({"Documents are converted without isolation"}));
    // What the layers above keep out: proof that the documents do reach for the picture.
    QVERIFY2(PdfImages(*work_ / "out/window-root.pdf") == 1,
             "the test's documents no longer link the picture");
}

QTEST_MAIN(IsolationTest)
#include "IsolationTest.moc"
