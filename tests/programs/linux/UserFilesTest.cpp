// The user's own files beside the documents, through the real window on a real disk: only a
// PDF file is ever replaced (never a folder, a link, the user's file under the PDF's name or a
// read-only PDF), two documents never print to one PDF, a pipe named on the command line is
// said, what a killed run left behind is tidied as the documents are queued, and a damaged
// Word file fails instead of replacing a good PDF with a blank page.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QtTest>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

const std::string UsersPdf = "%PDF-1.4 the user's own PDF, kept from an earlier run\n";

// The id of a process that has ended.
pid_t EndedProcess() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

// The lines one under the other, so that a failure shows them.
QString Lines(const std::vector<std::string>& lines) {
    std::string joined;
    for (const std::string& line : lines) joined += line + "\n";
    return QString::fromStdString(joined);
}

mode_t ModeOf(const std::string& path) {
    struct stat info {};
    ::lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}

}  // namespace

class UserFilesTest : public QObject {
    Q_OBJECT

private slots:
    void onlyAPdfIsReplacedAndWhatAKilledRunLeftIsTidied();
    void aDamagedDocumentKeepsTheOldPdfAndBlankLookingOnesConvert();
};

void UserFilesTest::onlyAPdfIsReplacedAndWhatAKilledRunLeftIsTidied() {
    TempFolder dir;
    const fs::path docs = fs::path(dir.Path()) / "docs";
    const std::string text = DocumentPath("text"), table = DocumentPath("table");
    CopyTo(text, docs / "pdfdir.doc");
    WriteFile(CopyTo(text, docs / "pdfdir.pdf" / "keep.txt"), "kept");
    CopyTo(text, docs / "linked.doc");
    fs::create_directory_symlink("pdfdir.pdf", docs / "linked.pdf");
    const std::string notes = CopyTo(text, docs / "meeting_notes_doc");
    WriteFile(docs / "meeting_notes_pdf", "Agenda: the budget\n");
    CopyTo(table, docs / "same.doc");
    CopyTo(text, docs / "same.DOC");
    CopyTo(text, docs / "readonly.doc");
    WriteFile(docs / "readonly.pdf", UsersPdf);
    ::chmod((docs / "readonly.pdf").c_str(), 0444);
    const std::string pipe = dir / "pipe.doc";
    QCOMPARE(::mkfifo(pipe.c_str(), 0600), 0);
    // What a run killed in the middle left: a PDF set aside for a document that fails again,
    // a partial PDF whose writer has ended, and one this very program is writing.
    WriteFile(docs / "broken.doc", "not a Word document");
    WriteFile(docs / ".broken.pdf.pendrel-old", UsersPdf);
    const std::string ended = ".pendrel-" + std::to_string(EndedProcess()) + "-a1b2c3.tmp",
                      live = ".pendrel-" + std::to_string(::getpid()) + "-d4e5f6.tmp";
    WriteFile(docs / ended, "%PDF-1.4 half of it");
    WriteFile(docs / live, "%PDF-1.4 being written");
    // An earlier version of the program hid a folder that stood at a PDF's name.
    CopyTo(text, docs / "olddir.doc");
    WriteFile(CopyTo(text, docs / ".olddir.pdf.pendrel-old" / "keep.txt"), "kept");

    ProgramHarness h;
    h.program.form.QueuePaths({"docs", "docs/meeting_notes_doc", "pipe.doc"}, dir.Path());
    QCOMPARE(Lines(h.Messages()),
             Lines({"This could not be added:\n\n" + pipe + " (it is a named pipe, not a file)"}));
    QCOMPARE(ReadFile(docs / "broken.pdf"), UsersPdf);  // put back as soon as it was queued
    QVERIFY(!fs::exists(docs / ended));
    QVERIFY(fs::exists(docs / live));
    QCOMPARE(ReadFile(docs / "olddir.pdf" / "keep.txt"), std::string("kept"));
    fs::remove(docs / live);
    h.Convert();

    auto statuses = h.Statuses();
    QCOMPARE(statuses.size(), std::size_t{8});
    const bool lowerFirst = statuses[docs / "same.doc"] == "Done";
    const std::string first = docs / (lowerFirst ? "same.doc" : "same.DOC"),
                      second = docs / (lowerFirst ? "same.DOC" : "same.doc");
    QCOMPARE(statuses[first], std::string("Done"));
    QVERIFY(PdfText(docs / "same.pdf").find(lowerFirst ? "Pears" : "lazy dog") !=
            std::string::npos);
    for (const std::string& failed :
         {std::string(docs / "pdfdir.doc"), std::string(docs / "linked.doc"), notes,
          std::string(docs / "readonly.doc"), std::string(docs / "broken.doc"),
          std::string(docs / "olddir.doc"), second})
        QVERIFY2(statuses[failed] == "Queued", failed.c_str());
    QVERIFY(h.Said({docs / "pdfdir.doc\n\nError 80: ", "pdfdir.pdf is a folder, not a PDF"}));
    QVERIFY(h.Said({docs / "linked.doc\n\nError 80: ", "linked.pdf is a link, not a PDF"}));
    QVERIFY(h.Said({notes + "\n\nError 80: ", "meeting_notes_pdf is not a PDF file"}));
    QVERIFY(h.Said({docs / "readonly.doc\n\nError 5: ", "readonly.pdf is read-only"}));
    QVERIFY(h.Said({second + "\n\nError 183: ", "the PDF of " + first}));
    QVERIFY(h.Said({docs / "olddir.doc\n\nError 80: ", "olddir.pdf is a folder, not a PDF"}));
    QVERIFY2(h.Messages().size() == 8, qPrintable(Lines(h.Messages())));

    QCOMPARE(ReadFile(docs / "pdfdir.pdf" / "keep.txt"), std::string("kept"));
    QVERIFY(fs::is_symlink(docs / "linked.pdf"));
    QCOMPARE(ReadFile(docs / "meeting_notes_pdf"), std::string("Agenda: the budget\n"));
    QCOMPARE(ReadFile(docs / "readonly.pdf"), UsersPdf);
    QCOMPARE(ModeOf(docs / "readonly.pdf"), mode_t{0444});
    QCOMPARE(ReadFile(docs / "broken.pdf"), UsersPdf);
    QCOMPARE(
        Lines(FilesBelow(docs)),
        Lines({"broken.doc", "broken.pdf", "linked.doc", "meeting_notes_doc", "meeting_notes_pdf",
               "olddir.doc", "olddir.pdf/keep.txt", "pdfdir.doc", "pdfdir.pdf/keep.txt",
               "readonly.doc", "readonly.pdf", "same.DOC", "same.doc", "same.pdf"}));
}

void UserFilesTest::aDamagedDocumentKeepsTheOldPdfAndBlankLookingOnesConvert() {
    TempFolder dir;
    for (const BadDocument& bad : BadDocuments())
        if (bad.name == "blank.doc") WriteFile(dir / "damaged.doc", bad.bytes);
    WriteFile(dir / "damaged.pdf", UsersPdf);
    // Documents whose text shows nothing, made so on purpose: they convert.
    std::string picture;
    for (const unsigned char byte : Picture(48, 32, 0x20, 0x60, 0xC0))
        picture += {"0123456789abcdef"[byte >> 4], "0123456789abcdef"[byte & 15]};
    const std::string row = "\\trowd\\cellx2500\\cellx5000 ";
    const std::map<std::string, std::string> sources{
        {"picture", "{\\rtf1\\ansi {\\pict\\picw48\\pich32 " + picture + "}\\par}"},
        {"empty-table", "{\\rtf1\\ansi " + row + "\\cell\\cell\\row" + row + "\\cell\\cell\\row}"},
        {"empty-lines", "{\\rtf1\\ansi \\par\\par\\par}"},
    };
    std::vector<MadeFrom> made;
    for (const auto& [name, source] : sources) {
        WriteFile(dir / (name + ".rtf"), source);
        made.push_back({dir / (name + ".rtf"), dir / (name + ".doc")});
    }
    QVERIFY(MakeDocuments(made));
    for (const auto& [name, source] : sources) fs::remove(dir / (name + ".rtf"));

    ProgramHarness h;
    h.AddFolder(dir.Path());
    h.Convert();
    auto statuses = h.Statuses();
    QCOMPARE(statuses[dir / "damaged.doc"], std::string("Queued"));
    QCOMPARE(Lines(h.Messages()),
             Lines({dir / "damaged.doc" +
                    "\n\nError 5122: The document is damaged and cannot be opened (its Word "
                    "header is damaged, and no text could be read)."}));
    QCOMPARE(ReadFile(dir / "damaged.pdf"), UsersPdf);
    for (const auto& [name, source] : sources) {
        QVERIFY2(statuses[dir / (name + ".doc")] == "Done", name.c_str());
        QCOMPARE(PdfPages(dir / (name + ".pdf")), 1);
    }
    QCOMPARE(PdfImages(dir / "picture.pdf"), 1);
}

QTEST_MAIN(UserFilesTest)
#include "UserFilesTest.moc"
