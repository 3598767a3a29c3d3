#pragma once
// What the engine's end-to-end tests share: a real engine on a real desk, a pump that sleeps
// like the window's, the corpus, and poppler's tools to look into the PDFs written.
#include <sys/types.h>

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "platform/office/OfficeEngine.h"
#include "platform/posix/PosixFileSystem.h"

namespace pendrel::office::testing {

// Waits asleep until woken or the slice ends, as the window's event loop does.
class SleepingPump : public EventPump {
public:
    void ProcessPendingMessages(std::chrono::milliseconds maxWait) override;
    void Wake() override;

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

// A folder of its own under the temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string Corpus(const std::string& relativePath);
// Copies a corpus document to target and returns target.
std::string CopyCorpus(const std::string& relativePath, const std::string& target);
void WriteFile(const std::string& path, const std::string& bytes);
bool Exists(const std::string& path);

// The page count pdfinfo reads, or -1 when it cannot read the file.
int PdfPages(const std::string& pdf);
std::string PdfText(const std::string& pdf);

// The pendrel-office processes whose parent is this process (zombies included).
std::vector<pid_t> HelperPids();

HelperCommand TestHelperCommand();

// The engine with what it needs around it, as the window wires it.
struct EngineRig {
    desk::Desk desk;
    SleepingPump pump;
    posix::PosixFileSystem fileSystem;
    OfficeEngine engine{desk, pump, TestHelperCommand()};

    // One document the way the batch converts it: open, print to "PDF Writer" answering the
    // dialog with output, wait for the file, quit. Failures are thrown as they come.
    void Convert(const std::string& document, const std::string& output);
};

}  // namespace pendrel::office::testing
