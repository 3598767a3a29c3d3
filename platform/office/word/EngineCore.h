#pragma once
// What every object of the embedded engine shares: the spool, the pool of helpers, the print
// jobs still running, and the desk and event pump they were given.
// Application objects keep it alive, but once the engine has shut down every member call on
// them fails.
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "platform/office/pool/RenderPool.h"
#include "platform/office/pool/SpoolFolder.h"
#include "platform/office/word/PrintJob.h"

namespace pendrel::office {

struct EngineCore {
    EngineCore(desk::Desk& deskIn, EventPump& pumpIn, HelperCommand command, unsigned poolSize,
               HelperLimits limits)
        : desk(deskIn),
          pump(pumpIn),
          pool(std::move(command), spool, poolSize, limits, [&pumpIn] { pumpIn.Wake(); }) {}

    // Keeps the job until it ends.
    void AddJob(std::shared_ptr<PrintJob> job);
    // Ends the jobs (their dialogs close), the helpers, and removes the spool folder.
    void Shutdown();

    desk::Desk& desk;
    EventPump& pump;
    SpoolFolder spool;
    RenderPool pool;
    std::atomic<bool> shutDown{false};

private:
    std::mutex jobsMutex_;
    std::vector<std::shared_ptr<PrintJob>> jobs_;
};

}  // namespace pendrel::office
