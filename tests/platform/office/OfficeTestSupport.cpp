#include "tests/platform/office/OfficeTestSupport.h"

#include <cstdio>
#include <sstream>

#include "convert/PrintWait.h"
#include "convert/Word1.h"

namespace pendrel::office::testing {
namespace {

// Runs "tool options 'file' rest" through the shell, the name quoted whatever bytes it holds.
std::string Run(const std::string& tool, const std::string& file, const std::string& rest = "") {
    std::string command = tool + " '";
    for (char c : file) command += c == '\'' ? std::string("'\\''") : std::string(1, c);
    std::string out;
    if (FILE* pipe = ::popen((command + "' " + rest + " 2>/dev/null").c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

}  // namespace

int PdfPages(const std::string& pdf) {
    const std::string info = "\n" + Run("pdfinfo", pdf);
    const auto at = info.find("\nPages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
}

std::string PdfText(const std::string& pdf) {
    return Run("pdftotext -q", pdf, "-");
}

std::vector<pid_t> HelperPids() {
    std::vector<pid_t> pids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;  // "pid (name) state parent ..."
        if (!std::getline(stat, line) || line.find(" (pendrel-office) ") == std::string::npos)
            continue;
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent && parent == ::getpid())
            pids.push_back(std::stoi(entry.path().filename().string()));
    }
    return pids;
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
