#pragma once
// What every object of the embedded engine shares: the helpers, the spool folder, the print
// jobs still running, and the desk and event pump they were given. Application objects keep
// it alive, but once the engine has shut down every member call on them fails.
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "platform/office/HelperPool.h"
#include "platform/office/PrintJob.h"
#include "platform/office/SpoolFolder.h"

namespace pendrel::office {

struct EngineCore {
    EngineCore(desk::Desk& deskIn, EventPump& pumpIn, HelperCommand command)
        : desk(deskIn), pump(pumpIn), pool(std::move(command), [&pumpIn] { pumpIn.Wake(); }) {}

    // Keeps the job until it ends (an abandoned job still waits for its render to clean up).
    void AddJob(std::shared_ptr<PrintJob> job);
    // Kills the helpers, ends the jobs (their dialogs close), removes the spool folder.
    void Shutdown();

    desk::Desk& desk;
    EventPump& pump;
    HelperPool pool;
    SpoolFolder spool;
    std::atomic<bool> shutDown{false};

private:
    std::mutex jobsMutex_;
    std::vector<std::shared_ptr<PrintJob>> jobs_;
};

}  // namespace pendrel::office
