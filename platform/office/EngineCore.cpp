#include "platform/office/EngineCore.h"

namespace pendrel::office {

void EngineCore::AddJob(std::shared_ptr<PrintJob> job) {
    std::lock_guard lock(jobsMutex_);
    std::erase_if(jobs_, [](const auto& j) { return j->Finished(); });
    jobs_.push_back(std::move(job));
}

void EngineCore::Shutdown() {
    shutDown = true;
    pool.Shutdown();
    std::vector<std::shared_ptr<PrintJob>> jobs;
    {
        std::lock_guard lock(jobsMutex_);
        jobs.swap(jobs_);
    }
    for (auto& job : jobs) job->Abandon();
    // The jobs' threads end here: their helpers are dead, their dialogs stopped.
    jobs.clear();
    spool.RemoveAll();
}

}  // namespace pendrel::office
