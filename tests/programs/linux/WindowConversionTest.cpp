// A user's session through the real window: a folder of documents, good and bad, is added with
// ADD FOLDER, CONVERT TO PDF is clicked, and the PDFs on disk are checked with poppler.
#include <QtTest>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

class WindowConversionTest : public QObject {
    Q_OBJECT

private slots:
    void aFolderBecomesPdfsAndEveryBadDocumentIsSaidWhy();
};

void WindowConversionTest::aFolderBecomesPdfsAndEveryBadDocumentIsSaidWhy() {
    TempFolder dir;
    const fs::path root = dir.Path(), sub = root / "Ünter Ordner";
    // The standard documents, some under names a user might give them; bad ones beside them.
    const std::vector<fs::path> places{
        root / "Fox & Hound.doc", sub / "report #2 at 100% für Ωmega.doc",
        sub / "two\nlines\t\"quoted\" why?.doc", root / "LETTER.DOC"};
    std::map<std::string, const TestDocument*> good;
    for (const TestDocument& d : StandardDocuments()) {
        const std::size_t i = good.size();
        good[CopyTo(DocumentPath(d.name),
                    i < places.size() ? places[i] : sub / (d.name + ".doc"))] = &d;
    }
    std::map<std::string, std::string> bad;  // the document, words of its message
    for (const BadDocument& b : BadDocuments()) {
        WriteFile(sub / b.name, b.bytes);
        bad[sub / b.name] = b.reason;
    }
    bad[CopyTo(DocumentPath("text"), root / "gone.doc")] = "could not be found";
    WriteFile(PdfOf(places[3]), "%PDF-1.4 an old PDF, replaced");

    ProgramHarness h;
    h.AddFolder(root);
    QCOMPARE(h.Statuses().size(), good.size() + bad.size());
    fs::remove(root / "gone.doc");  // after it was added
    h.Convert();

    QCOMPARE(h.program.window.Caption(), std::string("Pendrel [ Done ]"));
    QCOMPARE(h.program.engine.HelpersStarted(), static_cast<int>(h.program.engine.PoolSize()));
    auto statuses = h.Statuses();
    for (const auto& [document, d] : good) {
        QVERIFY2(statuses[document] == "Done", document.c_str());
        QCOMPARE(PdfPages(PdfOf(document)), d->pages);
        QVERIFY2(PdfText(PdfOf(document)).find(d->text) != std::string::npos, document.c_str());
        QCOMPARE(PdfImages(PdfOf(document)), d->images);
    }
    QCOMPARE(h.Messages().size(), bad.size());
    for (const auto& [document, reason] : bad) {
        QVERIFY2(statuses[document] == "Queued", document.c_str());
        QVERIFY2(h.Said({document + "\n\nError ", reason}), document.c_str());
    }
    // Nothing but the documents and their PDFs is left in the folders: no lock file, no PDF of
    // a bad document.
    QCOMPARE(FilesBelow(root).size(), 2 * good.size() + bad.size() - 1);
}

QTEST_MAIN(WindowConversionTest)
#include "WindowConversionTest.moc"
