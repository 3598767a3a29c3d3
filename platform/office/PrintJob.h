#pragma once
// One job on the virtual printer "PDF Writer". Its own thread opens the printer's "Save As"
// dialog at once, so the name is asked for while the helper renders; after Save it waits for
// the render and moves the spool file to the name typed. Cancel, a failed render or a target
// that cannot be written leave nothing behind and are remembered as the job's failure.
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/Automation.h"
#include "platform/desk/Desk.h"
#include "platform/office/HelperProcess.h"

namespace pendrel::office {

struct PrintJobSetup {
    std::shared_ptr<HelperProcess> helper;
    std::uint32_t renderRequest = 0;  // the Export request already sent to the helper
    Text documentPath;
    std::string spoolFile;
    std::function<void()> onFinished;  // tells the waiting window to look again
};

class PrintJob {
public:
    enum class State { InProgress, Done, Failed };

    PrintJob(desk::Desk& desk, PrintJobSetup setup);
    // Ends the dialog if still open, and waits for the thread (which is quick once the
    // helper has answered or been killed).
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    State Status() const;
    // The failure of a Failed job.
    std::optional<AutomationError> Failure() const;
    // Closes the dialog if it is still open; the job then ends without output once the
    // render (already under way in the helper) has finished.
    void Abandon();
    bool Finished() const;

    // The name the dialog offers: the document's file name with ".pdf" for its extension.
    static Text SuggestedName(const Text& documentPath);

private:
    void Run(std::stop_token stop);
    void Finish(State state, std::optional<AutomationError> failure = std::nullopt);

    desk::Desk& desk_;
    PrintJobSetup setup_;
    mutable std::mutex mutex_;
    State state_ = State::InProgress;
    std::optional<AutomationError> failure_;
    std::jthread thread_;
};

}  // namespace pendrel::office
