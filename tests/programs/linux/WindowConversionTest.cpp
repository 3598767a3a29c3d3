// A user's session through the real window: a folder of real and broken documents is added
// with ADD FOLDER, CONVERT TO PDF is clicked, and the PDFs on disk are checked with poppler.
#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"

namespace fs = std::filesystem;
using namespace pendrel;

namespace {

std::string Run(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

std::string Quoted(const fs::path& path) {
    std::string quoted = "'";
    for (char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

int PdfPages(const fs::path& pdf) {
    const std::string info = Run("pdfinfo " + Quoted(pdf) + " 2>/dev/null");
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

std::string PdfText(const fs::path& pdf) {
    return Run("pdftotext " + Quoted(pdf) + " - 2>/dev/null");
}

fs::path Corpus(const std::string& name) {
    return fs::path(PENDREL_CORPUS_DOCS) / name;
}

struct Expected {
    int pages;
    std::string text;
};

}  // namespace

class WindowConversionTest : public QObject {
    Q_OBJECT

private slots:
    void aFolderOfDocumentsBecomesPdfsAndBadOnesStayQueued();
};

void WindowConversionTest::aFolderOfDocumentsBecomesPdfsAndBadOnesStayQueued() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const fs::path root = dir.path().toStdString();
    const fs::path sub = root / "Ünter Ordner";
    fs::create_directories(sub);

    const std::map<fs::path, std::pair<std::string, Expected>> good{
        {root / "simple-table.doc", {"apache-poi/simple-table.doc", {1, "a table con"}}},
        {root / "Fox & Hound.doc", {"apache-poi/quick.doc", {1, "lazy dog"}}},
        {root / "LETTER.DOC",
         {"apache-poi/cn.orthodox.www_divenbog_APRIL_30-APRIL.DOC", {2, "Apostle James"}}},
        {sub / "report #2 at 100% für Ωmega.doc", {"apache-poi/o_kurs.doc", {8, "МИНИСТЕРСТВО"}}},
        {sub / "pictures.doc", {"apache-poi/testPictures.doc", {4, "Sunset"}}},
        {sub / "two\nlines\t\"quoted\" why?.doc",
         {"apache-poi/Word95.doc", {1, "quick brown fox"}}},
        {sub / "logos.doc", {"apache-tika/testWORD_3imgs.doc", {1, "The Alfresco logo"}}},
        {sub / "shift-jis.doc", {"apache-poi/TestShiftJIS.doc", {11, "File Agent"}}},
        {sub / "unicode headers.doc", {"apache-poi/HeaderFooterUnicode.doc", {2, "€ euro"}}},
        {sub / "long.doc", {"apache-poi/53379.doc", {29, "Clinical Trials"}}},
        {sub / "equation.doc", {"apache-poi/equation.doc", {1, ""}}},
    };
    for (const auto& [target, source] : good) fs::copy_file(Corpus(source.first), target);

    const std::vector<fs::path> bad{root / "locked.doc", root / "fuzzed.doc", sub / "x.doc",
                                    sub / "notes.doc"};
    fs::copy_file(Corpus("apache-poi/PasswordProtected.doc"), bad[0]);
    fs::copy_file(Corpus("apache-poi/clusterfuzz-testcase-POIHWPFFuzzer-5696094627495936.doc"),
                  bad[1]);
    std::ofstream(bad[2]).flush();  // empty
    std::ofstream(bad[3]) << "Just some text, saved under a Word name.\n";
    // An old PDF from an earlier run is replaced.
    std::ofstream(root / "simple-table.pdf") << "stale";

    programs::PendrelProgram program(PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE);
    program.messageBoxes.setAutoAnswer(true);
    program.form.Form_Load();
    program.window.show();

    program.folderBrowser.setNextDirectory(dir.path());
    program.window.check4().SetValue(1);
    auto& list = program.window.listView1();
    QCOMPARE(list.ItemCount(), good.size() + bad.size());
    for (std::size_t i = 1; i <= list.ItemCount(); ++i)
        QCOMPARE(list.SubItem(i, Queue::StatusColumn), std::string("Queued"));

    program.window.check2().SetValue(1);  // runs the whole batch, messages handled meanwhile

    QCOMPARE(program.window.Caption(), std::string("Pendrel [ Done ]"));
    QCOMPARE(program.engine.HelpersStarted(), 1);  // one warm helper for the whole run
    QCOMPARE(program.window.MousePointer(), 1);
    QCOMPARE(program.messageBoxes.shown().size(), bad.size());
    std::map<std::string, std::string> status;
    for (std::size_t i = 1; i <= list.ItemCount(); ++i)
        status[list.ItemText(i)] = list.SubItem(i, Queue::StatusColumn);

    for (const auto& [document, source] : good) {
        const fs::path pdf = fs::path(document).replace_extension(".pdf");
        QVERIFY2(status[document.string()] == "Done", document.c_str());
        QCOMPARE(PdfPages(pdf), source.second.pages);
        QVERIFY2(PdfText(pdf).find(source.second.text) != std::string::npos, pdf.c_str());
    }
    for (const auto& document : bad) {
        QVERIFY2(status[document.string()] == "Queued", document.c_str());
        QVERIFY2(!fs::exists(fs::path(document).replace_extension(".pdf")), document.c_str());
    }
    for (const auto& shown : program.messageBoxes.shown()) {
        QCOMPARE(shown.title, std::string("Quarrendon"));
        QVERIFY2(shown.text.find("\n\nError ") != std::string::npos, shown.text.c_str());
    }
    // Nothing but the documents and their PDFs is left in the folders.
    std::size_t entries = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        entries += entry.is_regular_file();
    QCOMPARE(entries, 2 * good.size() + bad.size());
}

QTEST_MAIN(WindowConversionTest)
#include "WindowConversionTest.moc"
