#pragma once
// One job on the virtual printer "PDF Writer". Its own thread opens the printer's "Save As"
// dialog at once, so the name is asked for while the document renders; after Save it waits for
// the render and moves the finished PDF to the name typed. Cancel, a failed render or a target
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
#include "platform/office/pool/RenderPool.h"

namespace pendrel::office {

struct PrintJobSetup {
    RenderPool& pool;
    std::shared_ptr<RenderJob> render;
    Text documentPath;
    std::string temporaryFolder;       // named when it is full
    std::function<void()> onFinished;  // tells the waiting window to look again
};

class PrintJob {
public:
    enum class State { InProgress, Done, Failed };

    PrintJob(desk::Desk& desk, PrintJobSetup setup);
    // Ends the dialog if still open, and waits for the thread.
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;

    State Status() const;
    // The failure of a Failed job.
    std::optional<AutomationError> Failure() const;
    // Closes the dialog if it is still open and stops waiting for the render; the job ends
    // without output.
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
