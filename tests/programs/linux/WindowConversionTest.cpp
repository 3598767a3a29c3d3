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
    void aFolderOfDocumentsBecomesPdfsAndBadOnesStayQueued();
};

void WindowConversionTest::aFolderOfDocumentsBecomesPdfsAndBadOnesStayQueued() {
    TempFolder dir;
    const fs::path root = dir.Path(), sub = root / "Ünter Ordner";
    // Every document of the standard set, under names a user might give them.
    std::map<std::string, const TestDocument*> good;
    const std::vector<fs::path> places{
        root / "Fox & Hound.doc", sub / "report #2 at 100% für Ωmega.doc",
        sub / "two\nlines\t\"quoted\" why?.doc", root / "LETTER.DOC"};
    std::size_t next = 0;
    for (const TestDocument& d : StandardDocuments()) {
        const fs::path place = next < places.size() ? places[next++] : sub / (d.name + ".doc");
        good[CopyTo(DocumentPath(d.name), place)] = &d;
    }
    // Bad ones made from good ones.
    const std::string text = ReadFile(DocumentPath("text"));
    WriteFile(root / "empty.doc", "");
    WriteFile(sub / "truncated.doc", text.substr(0, 600));
    WriteFile(sub / "notes.doc", "Just some text, saved under a Word name.\n");
    QVERIFY(MakeEncrypted(DocumentPath("text"), root / "locked.doc"));
    const std::vector<std::string> bad{root / "empty.doc", sub / "truncated.doc", sub / "notes.doc",
                                       root / "locked.doc"};
    // An old PDF from an earlier run is replaced.
    const std::string letter = places[3];
    WriteFile(PdfOf(letter), "stale");

    ProgramHarness h;
    h.AddFolder(root);
    QCOMPARE(h.Statuses().size(), good.size() + bad.size());
    h.Convert();

    QCOMPARE(h.program.window.Caption(), std::string("Pendrel [ Done ]"));
    QCOMPARE(h.program.window.MousePointer(), 1);
    QCOMPARE(h.program.engine.HelpersStarted(), static_cast<int>(h.program.engine.PoolSize()));
    auto statuses = h.Statuses();
    for (const auto& [document, d] : good) {
        QVERIFY2(statuses[document] == "Done", document.c_str());
        QCOMPARE(PdfPages(PdfOf(document)), d->pages);
        QVERIFY2(PdfText(PdfOf(document)).find(d->text) != std::string::npos, document.c_str());
    }
    QCOMPARE(h.Messages().size(), bad.size());
    for (const auto& document : bad) {
        QVERIFY2(statuses[document] == "Queued", document.c_str());
        QVERIFY2(!Exists(PdfOf(document)), document.c_str());
    }
    for (const auto& message : h.Messages())
        QVERIFY2(message.find("\n\nError ") != std::string::npos, message.c_str());
    // Nothing but the documents and their PDFs is left in the folders.
    QCOMPARE(FilesBelow(root).size(), 2 * good.size() + bad.size());
}

QTEST_MAIN(WindowConversionTest)
#include "WindowConversionTest.moc"
