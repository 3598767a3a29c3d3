// Converts 50 corpus documents with the helper warm, through the real window offscreen (the
// Convert click to the last PDF on disk) and through Word1 alone, and times LibreOffice's own
// `soffice --headless --convert-to pdf` on the same files in the same run; then runs the
// whole corpus and counts how each document ended.
//
//   convert_bench [count]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include <QApplication>

#include "convert/Word1.h"
#include "platform/office/OfficeErrors.h"
#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"
#include "tests/platform/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct CorpusEntry {
    std::string file;
    bool converts = false;
};

std::vector<CorpusEntry> ReadManifest() {
    std::ifstream manifest(Corpus("MANIFEST.tsv"));
    std::vector<CorpusEntry> entries;
    std::string line;
    std::getline(manifest, line);  // the header
    while (std::getline(manifest, line)) {
        std::istringstream fields(line);
        CorpusEntry entry;
        std::string bytes, converts;
        std::getline(fields, entry.file, '\t');
        std::getline(fields, bytes, '\t');
        std::getline(fields, converts, '\t');
        entry.converts = converts == "yes";
        entries.push_back(entry);
    }
    return entries;
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::string PdfFor(const std::string& document) {
    return document.substr(0, document.size() - 3) + "pdf";
}

// Waits for the job the engine's own way: BackgroundPrintingStatus turns 0 once the PDF has
// been renamed into place, complete.
void WaitForJob(Dispatch& app, EventPump& pump) {
    while (app.Get("BackgroundPrintingStatus").AsInt32() != 0)
        pump.ProcessPendingMessages(std::chrono::milliseconds(250));
}

void ConvertByStatus(EngineRig& rig, const std::string& document) {
    DispatchPtr app = Word1::OpenInWord(rig.engine, document);
    try {
        Word1::PrintToPdfWriter(*app, PdfFor(document), rig.desk, rig.pump,
                                std::chrono::seconds(60));
        WaitForJob(*app, rig.pump);
    } catch (...) {
        Word1::QuitQuietly(*app);
        throw;
    }
    Word1::Quit(*app);
}

struct PassFigures {
    double wall = 0, floor = 0, cpu = 0;
    int converted = 0;
};

template <typename Convert>
PassFigures TimePass(EngineRig& rig, const std::vector<std::string>& documents, Convert convert) {
    for (const auto& d : documents) ::unlink(PdfFor(d).c_str());
    PassFigures figures;
    auto floorBefore = rig.engine.HelperWorkTime();
    double cpuBefore = CpuSeconds();
    auto start = Clock::now();
    for (const auto& d : documents) {
        try {
            convert(d);
            ++figures.converted;
        } catch (const std::exception& e) {
            std::printf("  failed: %s: %s\n", d.c_str(), e.what());
        }
    }
    figures.wall = Seconds(Clock::now() - start);
    figures.cpu = CpuSeconds() - cpuBefore;
    figures.floor =
        std::chrono::duration<double>(rig.engine.HelperWorkTime() - floorBefore).count();
    return figures;
}

// The real window: the documents queued, then one click on CONVERT TO PDF, which returns
// when the last PDF is on disk.
PassFigures TimeWindow(const std::vector<std::string>& documents, const std::string& warmUp) {
    programs::PendrelProgram program(PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE);
    program.messageBoxes.setAutoAnswer(true);
    program.form.Form_Load();
    program.window.show();
    auto& list = program.window.listView1();
    Queue::Append(list, warmUp);
    program.window.check2().SetValue(1);
    list.RemoveItem(1);
    for (const auto& d : documents) {
        ::unlink(PdfFor(d).c_str());
        Queue::Append(list, d);
    }
    PassFigures figures;
    auto floorBefore = program.engine.HelperWorkTime();
    double cpuBefore = CpuSeconds();
    auto start = Clock::now();
    program.window.check2().SetValue(1);
    figures.wall = Seconds(Clock::now() - start);
    figures.cpu = CpuSeconds() - cpuBefore;
    figures.floor =
        std::chrono::duration<double>(program.engine.HelperWorkTime() - floorBefore).count();
    for (std::size_t i = 1; i <= list.ItemCount(); ++i)
        figures.converted += list.SubItem(i, Queue::StatusColumn) == Queue::Done;
    for (const auto& shown : program.messageBoxes.shown())
        std::printf("  message: %s\n", shown.text.c_str());
    return figures;
}

void PrintPass(const char* name, const PassFigures& f, double soffice) {
    std::printf(
        "%s: %d PDFs in %.2f s; %.2fx soffice; summed helper work %.2f s, %.2fx of it; "
        "window-side CPU %.1f%% of a core\n",
        name, f.converted, f.wall, f.wall / soffice, f.floor, f.wall / f.floor,
        100.0 * f.cpu / f.wall);
}

double TimeSoffice(const std::vector<std::string>& documents, const std::string& outdir,
                   const std::string& profile, int& produced) {
    std::vector<std::string> args{"soffice",    "-env:UserInstallation=file://" + profile,
                                  "--headless", "--convert-to",
                                  "pdf",        "--outdir",
                                  outdir};
    args.insert(args.end(), documents.begin(), documents.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::fflush(stdout);  // or the child repeats what is still buffered
    auto start = Clock::now();
    pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    double wall = Seconds(Clock::now() - start);
    produced = 0;
    for (const auto& d : documents) {
        std::string name = PdfFor(d.substr(d.rfind('/') + 1));
        produced += Exists(outdir + "/" + name) ? 1 : 0;
    }
    return wall;
}

void WholeCorpus(const std::vector<CorpusEntry>& entries, const std::string& folder) {
    EngineRig rig;
    int converted = 0, failedCleanly = 0, wrong = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::string copy = folder + "/" + std::to_string(i) + ".doc";
        CopyCorpus(entries[i].file, copy);
        bool ok = true;
        try {
            ConvertByStatus(rig, copy);
        } catch (const AutomationError& e) {
            ok = false;
        }
        ok ? ++converted : ++failedCleanly;
        if (ok != entries[i].converts) {
            ++wrong;
            std::printf("  unlike LibreOffice 7.4's record: %s\n", entries[i].file.c_str());
        }
    }
    std::printf(
        "whole corpus: %zu documents, %d converted, %d failed cleanly, %d crashed the "
        "helper, %d unlike the manifest\n",
        entries.size(), converted, failedCleanly, rig.engine.HelpersStarted() - 1, wrong);
}

int Run(int count) {
    auto entries = ReadManifest();
    TempFolder temp;
    std::vector<std::string> documents;
    for (const auto& e : entries) {
        if (!e.converts || static_cast<int>(documents.size()) == count) continue;
        std::string flat = e.file.substr(e.file.rfind('/') + 1);
        documents.push_back(
            CopyCorpus(e.file, temp / (std::to_string(documents.size()) + "-" + flat)));
    }
    std::printf("%zu documents\n", documents.size());

    EngineRig rig;
    rig.engine.WarmUp();
    ConvertByStatus(rig, CopyCorpus("apache-poi/quick.doc", temp / "warm-up.doc"));

    auto byStatus =
        TimePass(rig, documents, [&](const std::string& d) { ConvertByStatus(rig, d); });
    auto asBatch =
        TimePass(rig, documents, [&](const std::string& d) { rig.Convert(d, PdfFor(d)); });
    auto window = TimeWindow(documents, temp / "warm-up.doc");

    std::filesystem::create_directory(temp / "soffice-out");
    int produced = 0;
    double soffice =
        TimeSoffice(documents, temp / "soffice-out", temp / "soffice-profile", produced);
    std::printf("soffice --convert-to pdf: %d PDFs in %.2f s (fresh profile, start included)\n",
                produced, soffice);
    PrintPass("engine, waiting on BackgroundPrintingStatus", byStatus, soffice);
    PrintPass("engine, waiting as the batch does (PrintWait)", asBatch, soffice);
    PrintPass("the real window, Convert click to the last PDF", window, soffice);

    std::filesystem::create_directory(temp / "corpus");
    WholeCorpus(entries, temp / "corpus");
    return 0;
}

}  // namespace
}  // namespace pendrel::office::testing

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return pendrel::office::testing::Run(argc > 1 ? std::atoi(argv[1]) : 50);
}
