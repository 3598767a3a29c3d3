#include "platform/office/word/EngineCore.h"

namespace pendrel::office {

void EngineCore::AddJob(std::shared_ptr<PrintJob> job) {
    std::lock_guard lock(jobsMutex_);
    std::erase_if(jobs_, [](const auto& j) { return j->Finished(); });
    jobs_.push_back(std::move(job));
}

void EngineCore::Shutdown() {
    shutDown = true;
    std::vector<std::shared_ptr<PrintJob>> jobs;
    {
        std::lock_guard lock(jobsMutex_);
        jobs.swap(jobs_);
    }
    for (auto& job : jobs) job->Abandon();
    jobs.clear();  // their threads end here: the dialogs and the waits are stopped
    pool.Shutdown();
    spool.RemoveAll();
}

}  // namespace pendrel::office
