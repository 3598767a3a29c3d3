#pragma once
// What the engine's end-to-end tests share: a real engine on a real desk, a pump that sleeps
// like the window's, the corpus, and poppler's tools to look into the PDFs written.
#include <sys/types.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>
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
    void ProcessPendingMessages(std::chrono::milliseconds maxWait) override {
        std::unique_lock lock(mutex_);
        woken_.wait_for(lock, maxWait, [this] { return wake_; });
        wake_ = false;
    }
    void Wake() override {
        std::lock_guard lock(mutex_);
        wake_ = true;
        woken_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

// A folder of its own under the temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder()
        : path_((std::filesystem::temp_directory_path() / "pendrel-test-XXXXXX").string()) {
        if (::mkdtemp(path_.data()) == nullptr) path_.clear();
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string Corpus(const std::string& relativePath) {
    return std::string(PENDREL_CORPUS_DOCS) + "/" + relativePath;
}
// Copies a corpus document to target and returns target.
inline std::string CopyCorpus(const std::string& relativePath, const std::string& target) {
    std::filesystem::copy_file(Corpus(relativePath), target,
                               std::filesystem::copy_options::overwrite_existing);
    return target;
}
inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}
inline bool Exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

// The page count pdfinfo reads, or -1 when it cannot read the file.
int PdfPages(const std::string& pdf);
std::string PdfText(const std::string& pdf);
// The pendrel-office processes whose parent is this process (zombies included).
std::vector<pid_t> HelperPids();

// The engine with what it needs around it, as the window wires it.
struct EngineRig {
    desk::Desk desk;
    SleepingPump pump;
    posix::PosixFileSystem fileSystem;
    OfficeEngine engine{desk, pump, HelperCommand{PENDREL_OFFICE_HELPER, PENDREL_TEST_PROFILE}};

    // One document the way the batch converts it: open, print to "PDF Writer" answering the
    // dialog with output, wait for the file, quit. Failures are thrown as they come.
    void Convert(const std::string& document, const std::string& output);
};

}  // namespace pendrel::office::testing
