#include "tests/platform/office/OfficeTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "queue/Queue.h"

namespace pendrel::office::testing {
namespace {

// A name quoted for the shell, whatever bytes it holds.
std::string Quoted(const std::string& name) {
    std::string quoted = "'";
    for (char c : name) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs "tool options 'file' rest" through the shell.
std::string Run(const std::string& tool, const std::string& file, const std::string& rest = "") {
    std::string out;
    const std::string command = tool + " " + Quoted(file) + " " + rest + " 2>/dev/null";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

}  // namespace

TempFolder::TempFolder()
    : path_((std::filesystem::temp_directory_path() / "pendrel-test-XXXXXX").string()) {
    if (::mkdtemp(path_.data()) == nullptr) path_.clear();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string CopyTo(const std::string& from, const std::filesystem::path& to) {
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    return to.string();
}

std::string PdfOf(const std::string& document) {
    return document.substr(0, document.size() - 3) + "pdf";
}

std::vector<std::string> FilesBelow(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
        if (!entry.is_directory())
            files.push_back(entry.path().lexically_relative(folder).string());
    std::sort(files.begin(), files.end());
    return files;
}

int PdfPages(const std::string& pdf) {
    const std::string info = "\n" + Run("pdfinfo", pdf);
    const auto at = info.find("\nPages:");
    return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 7);
}

std::string PdfText(const std::string& pdf) {
    return Run("pdftotext -q", pdf, "-");
}

int PdfImages(const std::string& pdf) {
    // A header of two lines, then one line per image.
    const std::string list = Run("pdfimages -list", pdf);
    return std::max(0, static_cast<int>(std::count(list.begin(), list.end(), '\n')) - 2);
}

std::string PdfInfo(const std::string& pdf, const std::string& field) {
    const std::string info = "\n" + Run("pdfinfo", pdf);
    const auto at = info.find("\n" + field + ":");
    if (at == std::string::npos) return "";
    const auto start = info.find_first_not_of(' ', at + field.size() + 2);
    return info.substr(start, info.find('\n', start) - start);
}

// pdftohtml's XML: the outline as <item> elements, the links as <a href>.
std::vector<std::string> PdfXmlMatches(const std::string& pdf, const std::regex& pattern) {
    const std::string xml = Run("pdftohtml -q -xml -i -stdout", pdf);
    std::vector<std::string> found;
    for (std::sregex_iterator i(xml.begin(), xml.end(), pattern), end; i != end; ++i)
        found.push_back((*i)[1]);
    return found;
}

std::vector<std::string> PdfOutline(const std::string& pdf) {
    return PdfXmlMatches(pdf, std::regex("<item[^>]*>([^<]*)</item>"));
}

std::vector<std::string> PdfLinks(const std::string& pdf) {
    // A link over text set in several runs is listed once a run.
    std::vector<std::string> links = PdfXmlMatches(pdf, std::regex("<a href=\"([^\"]*)\""));
    links.erase(std::unique(links.begin(), links.end()), links.end());
    return links;
}

std::vector<int> PdfBoxes(const std::vector<std::string>& pdfs, std::string* report) {
    std::string names;
    for (const std::string& pdf : pdfs) names += " " + Quoted(pdf);
    // One line a PDF in their order, "<boxes> <path>" or "? <path>: <why>", then indented
    // lines naming the characters.
    const std::string out = Run(PENDREL_PYTHON " " PENDREL_BOX_DETECTOR, "--", names);
    if (report != nullptr) *report += out;
    std::vector<int> boxes;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);)
        if (!line.empty() && line[0] != ' ')
            boxes.push_back(line[0] == '?' ? -1 : std::atoi(line.c_str()));
    boxes.resize(pdfs.size(), -1);
    return boxes;
}

std::vector<pid_t> HelperPids() {
    std::vector<pid_t> pids;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream stat(entry.path() / "stat");
        std::string line;  // "pid (name) state parent ..."
        if (!std::getline(stat, line) || line.find("pendrel-office) ") == std::string::npos)
            continue;
        std::istringstream rest(line.substr(line.rfind(')') + 2));
        char state = 0;
        pid_t parent = 0;
        if (rest >> state >> parent && parent == ::getpid())
            pids.push_back(std::stoi(entry.path().filename().string()));
    }
    return pids;
}

HelperCommand RealHelper() {
    return {PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE, {}};
}
HelperCommand FakeHelper() {
    return {PENDREL_FAKE_OFFICE_HELPER, PENDREL_TEST_PROFILE, {}};
}

BatchRig::BatchRig(HelperCommand helper, unsigned poolSize, HelperLimits limits)
    : engine(desk, pump, std::move(helper), poolSize, limits) {}

void BatchRig::Queue(const std::vector<std::string>& documents) {
    for (const std::string& document : documents) pendrel::Queue::Append(list, document);
}

void BatchRig::Convert() {
    messages.shown.clear();
    BatchRun::ConvertQueue({window, list, fileSystem, messages, pump, engine, desk, progress,
                            engine, nullptr, limits});
}

std::vector<Text> BatchRig::Statuses() const {
    std::vector<Text> statuses;
    for (std::size_t i = 1; i <= list.ItemCount(); ++i)
        statuses.push_back(list.SubItem(i, pendrel::Queue::StatusColumn));
    return statuses;
}

std::vector<Text> BatchRig::Messages() const {
    std::vector<Text> texts;
    for (const auto& shown : messages.shown) texts.push_back(shown.text);
    return texts;
}

}  // namespace pendrel::office::testing
