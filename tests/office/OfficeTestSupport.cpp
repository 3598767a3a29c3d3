#include "tests/office/OfficeTestSupport.h"

#include <dirent.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "convert/PrintWait.h"
#include "convert/Word1.h"

namespace pendrel::office::testing {

void SleepingPump::ProcessPendingMessages(std::chrono::milliseconds maxWait) {
    std::unique_lock lock(mutex_);
    woken_.wait_for(lock, maxWait, [this] { return wake_; });
    wake_ = false;
}

void SleepingPump::Wake() {
    {
        std::lock_guard lock(mutex_);
        wake_ = true;
    }
    woken_.notify_all();
}

TempFolder::TempFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() + "/pendrel-test-XXXXXX";
    path_ = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string Corpus(const std::string& relativePath) {
    return std::string(PENDREL_CORPUS_DOCS) + "/" + relativePath;
}

std::string CopyCorpus(const std::string& relativePath, const std::string& target) {
    std::filesystem::copy_file(Corpus(relativePath), target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

namespace {

// Runs a tool with argv as given (no shell, so any file name passes) and returns its output.
std::string RunTool(std::vector<std::string> args) {
    int out[2];
    if (::pipe(out) != 0) return {};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], 1);
        ::close(out[0]);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;) text.append(buffer, got);
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return text;
}

}  // namespace

int PdfPages(const std::string& pdf) {
    std::istringstream info(RunTool({"pdfinfo", pdf}));
    for (std::string line; std::getline(info, line);)
        if (line.rfind("Pages:", 0) == 0) return std::atoi(line.c_str() + 6);
    return -1;
}

std::string PdfText(const std::string& pdf) {
    return RunTool({"pdftotext", "-q", pdf, "-"});
}

std::vector<pid_t> HelperPids() {
    std::vector<pid_t> pids;
    DIR* proc = ::opendir("/proc");
    if (proc == nullptr) return pids;
    while (dirent* entry = ::readdir(proc)) {
        pid_t pid = std::atoi(entry->d_name);
        if (pid <= 0) continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string line;
        std::getline(stat, line);
        auto close = line.rfind(')');
        auto open = line.find('(');
        if (close == std::string::npos || open == std::string::npos) continue;
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == ::getpid() && line.substr(open + 1, close - open - 1) == "pendrel-office")
            pids.push_back(pid);
    }
    ::closedir(proc);
    return pids;
}

HelperCommand TestHelperCommand() {
    return {PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE};
}

void EngineRig::Convert(const std::string& document, const std::string& output) {
    DispatchPtr app = Word1::OpenInWord(engine, document);
    try {
        Word1::PrintToPdfWriter(*app, output, desk, pump, std::chrono::seconds(60));
        PrintWait::ForFinishedFile(*app, fileSystem, pump, output, WaitLimits{});
    } catch (...) {
        Word1::QuitQuietly(*app);
        throw;
    }
    Word1::Quit(*app);
}

}  // namespace pendrel::office::testing
