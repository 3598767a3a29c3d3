// Real-world documents written by others (../shared/corpus): a folder of them through the real
// window, then every one through the engine, each ending as the corpus's manifest says. The
// documents are copied into a folder of the test's own first. Without the corpus the test is
// skipped with its reason.
#include <QtTest>
#include <fstream>
#include <sstream>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

// The exit status CTest reports as skipped.
constexpr int Skipped = 77;

fs::path Corpus(const std::string& name) {
    return fs::path(PENDREL_CORPUS_DOCS) / name;
}

struct Expected {
    int pages;
    std::string text;
};

}  // namespace

class CorpusTest : public QObject {
    Q_OBJECT

private slots:
    void realDocumentsThroughTheWindow();
    void everyDocumentEndsAsTheManifestSays();
};

void CorpusTest::realDocumentsThroughTheWindow() {
    TempFolder dir;
    const fs::path root = dir.Path();
    const std::map<std::string, std::pair<std::string, Expected>> good{
        {"simple-table.doc", {"apache-poi/simple-table.doc", {1, "a table con"}}},
        {"LETTER.DOC",
         {"apache-poi/cn.orthodox.www_divenbog_APRIL_30-APRIL.DOC", {2, "Apostle James"}}},
        {"sub/o_kurs.doc", {"apache-poi/o_kurs.doc", {8, "МИНИСТЕРСТВО"}}},
        {"sub/pictures.doc", {"apache-poi/testPictures.doc", {4, "Sunset"}}},
        {"sub/word95.doc", {"apache-poi/Word95.doc", {1, "quick brown fox"}}},
        {"sub/logos.doc", {"apache-tika/testWORD_3imgs.doc", {1, "The Alfresco logo"}}},
        {"sub/shift-jis.doc", {"apache-poi/TestShiftJIS.doc", {11, "File Agent"}}},
        {"sub/unicode headers.doc", {"apache-poi/HeaderFooterUnicode.doc", {2, "€ euro"}}},
        {"sub/long.doc", {"apache-poi/53379.doc", {29, "Clinical Trials"}}},
        {"sub/equation.doc", {"apache-poi/equation.doc", {1, ""}}},
    };
    const std::map<std::string, std::string> bad{
        {"locked.doc", "apache-poi/PasswordProtected.doc"},
        {"cryptoapi.doc", "apache-poi/password_password_cryptoapi.doc"},
        {"fuzzed.doc", "apache-poi/clusterfuzz-testcase-POIHWPFFuzzer-5696094627495936.doc"},
        {"bad-header.doc", "node-word-extractor/badfile-01-bad-header.doc"},
    };
    for (const auto& [name, source] : good) CopyTo(Corpus(source.first), root / name);
    for (const auto& [name, source] : bad) CopyTo(Corpus(source), root / name);

    ProgramHarness h;
    h.AddFolder(root);
    h.Convert();
    QCOMPARE(h.program.window.Caption(), std::string("Pendrel [ Done ]"));
    auto statuses = h.Statuses();
    for (const auto& [name, source] : good) {
        const std::string document = root / name;
        QVERIFY2(statuses[document] == "Done", document.c_str());
        QCOMPARE(PdfPages(PdfOf(document)), source.second.pages);
        QVERIFY2(PdfText(PdfOf(document)).find(source.second.text) != std::string::npos,
                 document.c_str());
    }
    QCOMPARE(h.Messages().size(), bad.size());
    for (const auto& [name, source] : bad) QVERIFY(!Exists(PdfOf(root / name)));
    QCOMPARE(FilesBelow(root).size(), 2 * good.size() + bad.size());
}

void CorpusTest::everyDocumentEndsAsTheManifestSays() {
    std::ifstream manifest(Corpus("MANIFEST.tsv"));
    std::string line;
    std::getline(manifest, line);  // the header
    TempFolder dir;
    office::testing::BatchRig rig(office::testing::RealHelper(), 0);
    std::map<std::string, bool> converts;  // by the copy's path
    std::map<std::string, std::string> names;
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string file, bytes, libreOfficeConverts;
        std::getline(fields, file, '\t');
        std::getline(fields, bytes, '\t');
        std::getline(fields, libreOfficeConverts, '\t');
        const std::string copy =
            CopyTo(Corpus(file), fs::path(dir.Path()) / (std::to_string(names.size()) + ".doc"));
        converts[copy] = libreOfficeConverts == "yes";
        names[copy] = file;
        rig.Queue({copy});
    }
    QVERIFY(converts.size() > 100);
    rig.Convert();
    std::string unlike;  // every document that ended otherwise, at once
    for (std::size_t i = 1; i <= rig.list.ItemCount(); ++i) {
        const std::string copy = rig.list.ItemText(i);
        const bool done = rig.list.SubItem(i, Queue::StatusColumn) == "Done";
        if (done != converts[copy]) unlike += "\n" + names[copy];
    }
    QVERIFY2(unlike.empty(), unlike.c_str());
    QCOMPARE(rig.engine.HelpersStarted(), static_cast<int>(rig.engine.PoolSize()));
}

int main(int argc, char** argv) {
    if (!fs::exists(Corpus("MANIFEST.tsv"))) {
        std::printf("skipped: the real-world documents are not there (%s)\n", PENDREL_CORPUS_DOCS);
        return Skipped;
    }
    QApplication app(argc, argv);
    CorpusTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CorpusTest.moc"
