// Runs that go wrong in the middle: a helper killed or stopped while it renders, the window
// closed while a document converts, a temporary folder that is full. Each time the PDF that was
// there before is there afterwards, byte for byte, and nothing is left behind: no helper, no spool,
// no lock file, no PDF set aside.
//
// The window closing ends the program, so those runs are made by this program started again
// as a child: fault_tests --close-mid-run <folder>, fault_tests --full-disk <folder>.
#include <signal.h>

#include <QProcess>
#include <QtTest>
#include <fstream>
#include <set>

#include "tests/programs/linux/ProgramHarness.h"

using namespace pendrel;
using namespace pendrel::testing;
namespace fs = std::filesystem;

namespace {

const std::string OldPdf = "%PDF-1.4 the user's own PDF, kept from an earlier run\n";

// A folder with a document that takes seconds to convert, and its PDF from an earlier run.
std::string PrepareFolder(const std::string& folder) {
    const std::string document = CopyTo(DocumentPath("huge"), fs::path(folder) / "tome.doc");
    WriteFile(PdfOf(document), OldPdf);
    return document;
}

// What must hold after the fault: the old PDF untouched, nothing else beside the document.
void CheckNothingLost(const std::string& folder) {
    QCOMPARE(ReadFile(fs::path(folder) / "tome.pdf"), OldPdf);
    QCOMPARE(FilesBelow(folder), (std::vector<std::string>{"tome.doc", "tome.pdf"}));
}

// The processes still alive whose command line names text: helpers of a program that ended.
int ProcessesNaming(const std::string& text) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string cmdline = ReadFile(entry.path() / "cmdline");
        count += cmdline.find(text) != std::string::npos &&
                 cmdline.find("fault_tests") == std::string::npos;
    }
    return count;
}

// Sends signal to each helper of the program that holds a copy of a document in its folder
// (named on its command line), each helper once, at most `times` helpers; how many so far.
struct Saboteur {
    int operator()(const std::vector<int>& helpers) {
        for (const int pid : helpers) {
            // Its arguments end in NULs; the last is its folder.
            std::string cmdline = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
            if (cmdline.size() < 2) continue;
            cmdline.pop_back();
            const auto files = FilesBelow(cmdline.substr(cmdline.rfind('\0') + 1));
            const bool rendering = std::any_of(files.begin(), files.end(),
                                               [](const auto& f) { return f.ends_with(".doc"); });
            if (rendering && hit.size() < times && hit.insert(pid).second) ::kill(pid, signal);
        }
        return static_cast<int>(hit.size());
    }
    int signal;
    std::size_t times;
    std::set<int> hit;
};

// The child's side: the program converts the folder and the fault comes from inside it.
int ChildMain(const std::string& mode, const std::string& folder) {
    int argc = 1;
    char name[] = "fault_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    ProgramHarness h;
    h.AddFolder(folder);
    if (mode == "--close-mid-run")
        QTimer::singleShot(1500, &h.program.window, [&] { h.program.window.close(); });
    h.Convert();
    std::ofstream messages(fs::path(folder).parent_path() / "messages.txt");
    for (const auto& message : h.Messages()) messages << message << "\n";
    return 0;
}

// Starts this program again in mode on work/documents, with work/tmp as its temporary folder,
// through wrap (a command that runs the rest) if any; its exit status.
int RunAgain(const TempFolder& work, const QString& mode, QStringList wrap = {}) {
    PrepareFolder(work / "documents");
    fs::create_directories(work / "tmp");
    QProcess child;
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", QString::fromStdString(work / "tmp"));
    child.setProcessEnvironment(environment);
    wrap << QCoreApplication::applicationFilePath() << mode
         << QString::fromStdString(work / "documents");
    child.start(wrap.takeFirst(), wrap);
    return child.waitForFinished(120000) ? child.exitCode() : -1;
}

}  // namespace

class FaultTest : public QObject {
    Q_OBJECT

private slots:
    void aHelperKilledWhileItRendersLosesNothing();
    void aHelperStoppedWhileItRendersIsReplaced();
    void closingTheWindowMidRunLosesNothingAndLeavesNothing();
    void aFullTemporaryFolderLosesNothingAndIsNamed();
};

// Killed from outside once, the document is tried again on a fresh helper; killed again, it
// fails, saying so.
void FaultTest::aHelperKilledWhileItRendersLosesNothing() {
    TempFolder dir;
    const std::string document = PrepareFolder(dir.Path());
    ProgramHarness h;
    h.AddFolder(dir.Path());
    Saboteur kill{SIGKILL, 2, {}};
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { kill(h.program.engine.HelperPids()); });
    watch.start(100);
    h.Convert();
    QCOMPARE(kill.hit.size(), std::size_t{2});
    QCOMPARE(h.Statuses()[document], std::string("Queued"));
    QCOMPARE(h.Messages().size(), std::size_t{1});
    QVERIFY(h.Said({"stopped from outside"}));
    CheckNothingLost(dir.Path());
}

// A helper stopped (SIGSTOP) in the middle of a render is found so and given up, and the
// document converted on another: not after the render's time limit, and not blamed on it.
void FaultTest::aHelperStoppedWhileItRendersIsReplaced() {
    TempFolder dir;
    const std::string document = PrepareFolder(dir.Path());
    ProgramHarness h;
    h.AddFolder(dir.Path());
    Saboteur stop{SIGSTOP, 1, {}};
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] { stop(h.program.engine.HelperPids()); });
    watch.start(100);
    QElapsedTimer took;
    took.start();
    h.Convert();
    QCOMPARE(stop.hit.size(), std::size_t{1});
    QCOMPARE(h.Statuses()[document], std::string("Done"));
    QVERIFY2(h.Messages().empty(), h.Messages().empty() ? "" : h.Messages()[0].c_str());
    QVERIFY(took.elapsed() < 120000);
    QVERIFY(PdfPages(PdfOf(document)) > 0);
}

void FaultTest::closingTheWindowMidRunLosesNothingAndLeavesNothing() {
    TempFolder work;
    QCOMPARE(RunAgain(work, "--close-mid-run"), 0);
    QVERIFY2(!fs::exists(work / "messages.txt"), "the run was cut off, not finished");
    CheckNothingLost(work / "documents");
    QCOMPARE(ProcessesNaming(work / "tmp"), 0);
    for (const auto& left : fs::directory_iterator(work / "tmp"))  // no spool; Qt's own folder
        QVERIFY2(left.path().filename().string().starts_with("runtime-"), left.path().c_str());
}

void FaultTest::aFullTemporaryFolderLosesNothingAndIsNamed() {
    TempFolder work;
    // A temporary folder of its own, on a file system with room for nothing.
    const int status = RunAgain(work, "--full-disk",
                                {"unshare", "--mount", "sh", "-c",
                                 "mount -t tmpfs -o size=64k tmpfs \"$1\" && head -c 60000 "
                                 "/dev/zero >\"$1/filler\" && shift && exec \"$@\"",
                                 "sh", QString::fromStdString(work / "tmp")});
    if (status != 0 && !fs::exists(work / "messages.txt"))
        QSKIP("no mount namespace here for a small file system");
    const std::string messages = ReadFile(work / "messages.txt");
    QVERIFY2(messages.find("There is no space left in the temporary folder (" + work / "tmp" +
                           ")") != std::string::npos,
             messages.c_str());
    CheckNothingLost(work / "documents");
}

int main(int argc, char** argv) {
    if (argc == 3) return ChildMain(argv[1], argv[2]);
    QApplication app(argc, argv);
    FaultTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FaultTest.moc"
