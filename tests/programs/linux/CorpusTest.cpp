// Real-world documents written by others (../shared/corpus): every one, copied into a folder of
// the test's own, through the real window, each ending as the corpus's manifest says (a PDF of
// its page count, give or take a tenth for fonts, or no PDF and a message), a few with a phrase
// their PDF must hold. Without the corpus the test is skipped with its reason.
#include <QtTest>
#include <fstream>
#include <sstream>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

const fs::path Corpus = PENDREL_CORPUS_DOCS;

// Documents whose page count moved with the fonts the package brings, from the manifest's
// (counted with fewer fonts installed).
const std::map<std::string, int> PagesWithOurFonts{
    // Univers, in Liberation Sans: the count Word recorded.
    {"apache-tika/testException1.doc", 4},
    // Arial Narrow, in its metric twin Liberation Sans Narrow.
    {"apache-poi/saved-by-table.doc", 19},
    // Pragmatica, which Debian lacks: Noto Sans in place of DejaVu Sans.
    {"apache-poi/o_kurs.doc", 10},
    {"apache-poi/ob_is.doc", 35},
};

}  // namespace

class CorpusTest : public QObject {
    Q_OBJECT

private slots:
    void everyDocumentEndsAsTheManifestSays();
};

void CorpusTest::everyDocumentEndsAsTheManifestSays() {
    TempFolder dir;
    std::map<std::string, int> pages;  // of each copy's PDF; 0: it must not convert
    std::ifstream manifest(Corpus / "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);  // the header
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        std::string file, bytes, converts, count;
        for (std::string* field : {&file, &bytes, &converts, &count})
            std::getline(fields, *field, '\t');
        const auto moved = PagesWithOurFonts.find(file);
        pages[CopyTo(Corpus / file, dir / file)] = converts != "yes" ? 0
                                                   : moved != PagesWithOurFonts.end()
                                                       ? moved->second
                                                       : std::stoi(count);
    }
    QVERIFY(pages.size() > 100);

    ProgramHarness h;
    h.AddFolder(dir.Path());
    h.Convert();
    auto statuses = h.Statuses();
    std::string unlike;  // every document that ended otherwise, at once
    std::size_t failed = 0;
    for (const auto& [copy, count] : pages) {
        const int got = statuses[copy] == "Done" ? PdfPages(PdfOf(copy)) : 0;
        if (std::abs(got - count) > count / 10)
            unlike += "\n" + copy + ": " + std::to_string(got) + " pages";
        failed += count == 0;
    }
    QVERIFY2(unlike.empty(), unlike.c_str());
    QCOMPARE(h.Messages().size(), failed);
    QCOMPARE(FilesBelow(dir.Path()).size(), 2 * pages.size() - failed);
    QCOMPARE(h.program.engine.HelpersStarted(), static_cast<int>(h.program.engine.PoolSize()));
    // Text of other scripts and encodings reaches the PDFs.
    for (const auto& [file, phrase] :
         std::map<std::string, std::string>{{"apache-poi/o_kurs.doc", "МИНИСТЕРСТВО"},
                                            {"apache-poi/HeaderFooterUnicode.doc", "€ euro"},
                                            {"apache-poi/TestShiftJIS.doc", "File Agent"},
                                            {"apache-poi/Word95.doc", "quick brown fox"}})
        QVERIFY2(PdfText(PdfOf(dir / file)).find(phrase) != std::string::npos, file.c_str());
}

int main(int argc, char** argv) {
    if (!fs::exists(Corpus / "MANIFEST.tsv")) {
        std::printf("skipped: the real-world documents are not there (%s)\n", PENDREL_CORPUS_DOCS);
        return 77;  // what CTest reports as skipped
    }
    QApplication app(argc, argv);
    CorpusTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "CorpusTest.moc"
