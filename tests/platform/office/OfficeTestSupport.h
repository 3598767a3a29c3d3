#pragma once
// What the engine's and the program's tests share: a folder of their own, files, poppler's
// tools to look into the PDFs written, the helpers alive, and the batch over a real engine.
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "convert/BatchRun.h"
#include "platform/desk/Desk.h"
#include "platform/office/word/OfficeEngine.h"
#include "platform/posix/PosixFileSystem.h"
#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"
#include "tests/fakes/SleepingPump.h"

namespace pendrel::office::testing {

// A folder of its own under the temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
// Copies from to to, making its folder; to.
std::string CopyTo(const std::string& from, const std::filesystem::path& to);
// The PDF beside a document: its name with "pdf" for "doc".
std::string PdfOf(const std::string& document);
// Every file below folder, relative to it, sorted.
std::vector<std::string> FilesBelow(const std::string& folder);

// The page count pdfinfo reads, or -1 when it cannot read the file.
int PdfPages(const std::string& pdf);
std::string PdfText(const std::string& pdf);
int PdfImages(const std::string& pdf);
// A field of pdfinfo's ("Title", "Author"), "" when it has none.
std::string PdfInfo(const std::string& pdf, const std::string& field);
// The titles of the PDF's outline, depth first, and the addresses its links go to.
std::vector<std::string> PdfOutline(const std::string& pdf);
std::vector<std::string> PdfLinks(const std::string& pdf);
// How many characters each PDF prints as boxes, by tests/support/boxed_characters.py; -1 for a
// PDF it could not read. Its report, naming the characters, is added to report.
std::vector<int> PdfBoxes(const std::vector<std::string>& pdfs, std::string* report = nullptr);

// The helpers (pendrel-office or its stand-in) whose parent is this process, zombies included.
std::vector<pid_t> HelperPids();

// The real helper, and the stand-in that speaks its protocol without LibreOffice.
HelperCommand RealHelper();
HelperCommand FakeHelper();

// The batch as the window runs it over the real engine, desk and file system; window and list
// are fakes.
struct BatchRig {
    explicit BatchRig(HelperCommand helper, unsigned poolSize = 2, HelperLimits limits = {});

    void Queue(const std::vector<std::string>& documents);
    void Convert();
    std::vector<Text> Statuses() const;
    // The messages of the last run, without their titles.
    std::vector<Text> Messages() const;

    desk::Desk desk;
    fakes::SleepingPump pump;
    posix::PosixFileSystem fileSystem;
    OfficeEngine engine;
    fakes::FakeWindow window;
    fakes::FakeListView list;
    fakes::FakeMessageBoxes messages;
    fakes::FakeRunProgress progress;
    WaitLimits limits;
};

}  // namespace pendrel::office::testing
