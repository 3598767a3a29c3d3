// Conversion speed against LibreOffice's own converter, measured in one run on the same files:
// the real window from the Convert click to the last PDF, with a pool of one helper and with
// the default pool; `soffice --headless --convert-to pdf` on all of them in one process, and in
// two processes with profiles of their own, each given half. Then the whole corpus with the
// default pool, against one soffice process on the same files. The command line
// (pendrel --convert) on the same documents and on the whole corpus, --update on a tree it has
// just converted, one helper alone (documents a second per core), and two shards at once (how
// far apart they end).
//
//   convert_bench [count]     (50 documents by default; the corpus must be at ../shared)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "programs/linux/PendrelProgram.h"
#include "queue/Queue.h"
#include "tests/platform/office/OfficeTestSupport.h"

namespace {

using namespace pendrel;
using office::testing::TempFolder;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

struct CorpusEntry {
    std::string file;
    bool converts = false;
};

fs::path Corpus(const std::string& name) {
    return fs::path(PENDREL_CORPUS_DOCS) / name;
}

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

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Copies of the documents in a folder of their own, so that every run writes its PDFs fresh.
std::vector<std::string> CopiesIn(const std::string& folder, const std::vector<std::string>& from) {
    fs::create_directories(folder);
    std::vector<std::string> copies;
    for (const std::string& source : from) {
        copies.push_back(folder + "/" + std::to_string(copies.size()) + ".doc");
        fs::copy_file(Corpus(source), copies.back());
    }
    return copies;
}

struct WindowFigures {
    double wall = 0, helperWork = 0, cpu = 0;
    int converted = 0, failed = 0, helpersStarted = 0;
    unsigned pool = 0;
    std::vector<std::uint64_t> peaks;
};

// The real window: the helpers warmed on a small document first, then the documents queued
// and one click on CONVERT TO PDF, which returns when the last PDF is on disk.
WindowFigures TimeWindow(unsigned pool, const std::vector<std::string>& documents,
                         const std::string& warmUp) {
    programs::PendrelProgram program(PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE, pool);
    program.messageBoxes.setAutoAnswer(true);
    program.form.Form_Load();
    program.window.show();
    auto& list = program.window.listView1();
    for (unsigned i = 0; i < program.engine.PoolSize(); ++i) Queue::Append(list, warmUp);
    program.window.check2().SetValue(1);
    while (list.ItemCount() > 0) list.RemoveItem(1);
    for (const auto& d : documents) Queue::Append(list, d);

    WindowFigures figures;
    const auto workBefore = program.engine.HelperWorkTime();
    const int startedBefore = program.engine.HelpersStarted();
    const double cpuBefore = CpuSeconds();
    const auto start = Clock::now();
    program.window.check2().SetValue(1);
    figures.wall = Seconds(Clock::now() - start);
    figures.cpu = CpuSeconds() - cpuBefore;
    figures.helperWork = Seconds(program.engine.HelperWorkTime() - workBefore);
    figures.pool = program.engine.PoolSize();
    figures.helpersStarted = program.engine.HelpersStarted() - startedBefore;
    figures.peaks = program.engine.HelperPeaks();
    for (std::size_t i = 1; i <= list.ItemCount(); ++i)
        (list.SubItem(i, Queue::StatusColumn) == Queue::Done ? figures.converted
                                                             : figures.failed)++;
    return figures;
}

pid_t StartSoffice(const std::vector<std::string>& documents, const std::string& outdir,
                   const std::string& profile) {
    std::vector<std::string> args{"soffice",    "-env:UserInstallation=file://" + profile,
                                  "--headless", "--convert-to",
                                  "pdf",        "--outdir",
                                  outdir};
    args.insert(args.end(), documents.begin(), documents.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::fflush(stdout);  // or the child repeats what is still buffered
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

// soffice converting the documents in as many processes as there are groups, each with a
// profile of its own (made warm beforehand), all at once; the wall time of the slowest.
double TimeSoffice(const std::vector<std::vector<std::string>>& groups, const std::string& work) {
    std::vector<pid_t> pids;
    const auto start = Clock::now();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const std::string out = work + "/soffice-out-" + std::to_string(g);
        fs::create_directories(out);
        pids.push_back(
            StartSoffice(groups[g], out, work + "/soffice-profile-" + std::to_string(g)));
    }
    for (const pid_t pid : pids) ::waitpid(pid, nullptr, 0);
    return Seconds(Clock::now() - start);
}

// pendrel --convert with the arguments, its engine's profile under cache (warm after the first
// run); the wall time until it ends.
double TimeCommandLine(const std::vector<std::vector<std::string>>& runs, const std::string& cache,
                       std::vector<double>* each = nullptr) {
    std::vector<pid_t> pids;
    const auto start = Clock::now();
    for (const auto& arguments : runs) {
        std::vector<std::string> args{PENDREL_PROGRAM, "--convert", "--quiet"};
        args.insert(args.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        std::fflush(stdout);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::setenv("XDG_CACHE_HOME", cache.c_str(), 1);
            ::unsetenv("DISPLAY");
            std::freopen("/dev/null", "w", stderr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        pids.push_back(pid);
    }
    for (std::size_t ended = 0; ended < pids.size(); ++ended) {
        ::wait(nullptr);
        if (each) each->push_back(Seconds(Clock::now() - start));
    }
    return Seconds(Clock::now() - start);
}

void CommandLineFigures(const std::vector<std::string>& chosen, const std::vector<std::string>& all,
                        double soffice, double sofficeTwo, double sofficeAll,
                        const std::string& warmUp, const TempFolder& temp) {
    const std::string cache = temp / "cache";
    TimeCommandLine({{warmUp}}, cache);  // the profile made warm, as the window's is
    const std::string tree = temp / "c1";
    CopiesIn(tree, chosen);
    const double full = TimeCommandLine({{tree}}, cache);
    const double update = TimeCommandLine({{"--update", tree}}, cache);
    std::printf("command line, %zu documents: %.2f s = %.2fx one soffice, %.2fx two\n",
                chosen.size(), full, full / soffice, full / sofficeTwo);
    std::printf("command line --update on that converted tree: %.2f s = %.3fx the full run\n",
                update, update / full);

    const std::string corpus = temp / "call";
    CopiesIn(corpus, all);
    const double whole = TimeCommandLine({{corpus}}, cache);
    std::printf("command line, whole corpus (%zu documents): %.2f s = %.2fx one soffice (%.2f s)\n",
                all.size(), whole, whole / sofficeAll, sofficeAll);
    const std::string single = temp / "cone";
    CopiesIn(single, all);
    const double alone = TimeCommandLine({{"--jobs", "1", single}}, cache);
    std::printf("command line, one helper, whole corpus: %.2f s = %.2f documents a second\n", alone,
                static_cast<double>(all.size()) / alone);
    const std::string sharded = temp / "cshard";
    CopiesIn(sharded, all);
    std::vector<double> ends;
    TimeCommandLine(
        {{"--jobs", "1", "--shard", "0/2", sharded}, {"--jobs", "1", "--shard", "1/2", sharded}},
        cache, &ends);
    std::printf("two shards of one helper each, at once: ended after %.2f s and %.2f s\n",
                ends.front(), ends.back());
}

std::string Megabytes(const std::vector<std::uint64_t>& peaks) {
    std::string text;
    for (const auto peak : peaks)
        text += (text.empty() ? "" : ", ") + std::to_string(peak >> 20) + " MB";
    return text;
}

void Report(const char* name, const WindowFigures& f, double soffice, double sofficePerDocument,
            std::size_t documents) {
    std::printf(
        "%s (pool of %u): %d PDFs in %.2f s = %.2fx one soffice; helper work %.3f s per "
        "document = %.2fx soffice's %.3f s; window CPU %.1f%% of a core; helper peaks %s\n",
        name, f.pool, f.converted, f.wall, f.wall / soffice, f.helperWork / documents,
        f.helperWork / documents / sofficePerDocument, sofficePerDocument, 100.0 * f.cpu / f.wall,
        Megabytes(f.peaks).c_str());
}

int Run(std::size_t count) {
    const auto entries = ReadManifest();
    std::vector<std::string> chosen, all;
    for (const auto& e : entries) {
        all.push_back(e.file);
        if (e.converts && chosen.size() < count) chosen.push_back(e.file);
    }
    TempFolder temp;
    const std::string warmUp = CopiesIn(temp / "warm", {"apache-poi/quick.doc"}).front();
    std::printf("%zu documents\n", chosen.size());

    // soffice's profiles are made warm first, as a power user's would be.
    TimeSoffice({{warmUp}, {warmUp}}, temp.Path());
    const double sofficeOne = TimeSoffice({{warmUp}}, temp.Path());
    const double soffice = TimeSoffice({CopiesIn(temp / "s1", chosen)}, temp.Path());
    const auto half = chosen.begin() + static_cast<long>(chosen.size() / 2);
    const double sofficeTwo = TimeSoffice({CopiesIn(temp / "s2a", {chosen.begin(), half}),
                                           CopiesIn(temp / "s2b", {half, chosen.end()})},
                                          temp.Path());
    const double perDocument = (soffice - sofficeOne) / static_cast<double>(chosen.size());

    const auto one = TimeWindow(1, CopiesIn(temp / "w1", chosen), warmUp);
    const auto pool = TimeWindow(0, CopiesIn(temp / "w2", chosen), warmUp);

    std::printf("soffice, one process: %.2f s (%.2f s for one small document: its start)\n",
                soffice, sofficeOne);
    std::printf("soffice, two processes with half each: %.2f s = %.2fx one soffice\n", sofficeTwo,
                sofficeTwo / soffice);
    Report("Pendrel's window", one, soffice, perDocument, chosen.size());
    Report("Pendrel's window", pool, soffice, perDocument, chosen.size());
    std::printf("the default pool against two soffice processes: %.2fx\n", pool.wall / sofficeTwo);

    const double sofficeAll = TimeSoffice({CopiesIn(temp / "sall", all)}, temp.Path());
    const auto whole = TimeWindow(0, CopiesIn(temp / "wall", all), warmUp);
    std::printf(
        "whole corpus, %zu documents: %d converted, %d failed cleanly, %d crashed a "
        "helper; %.2f s = %.2fx one soffice process (%.2f s)\n",
        all.size(), whole.converted, whole.failed, whole.helpersStarted, whole.wall,
        whole.wall / sofficeAll, sofficeAll);
    CommandLineFigures(chosen, all, soffice, sofficeTwo, sofficeAll, warmUp, temp);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return Run(argc > 1 ? static_cast<std::size_t>(std::atoi(argv[1])) : 50);
}
