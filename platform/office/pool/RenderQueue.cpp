#include "platform/office/pool/RenderQueue.h"

#include <unistd.h>

#include <algorithm>

namespace pendrel::office {
namespace {

void RemoveFiles(const RenderJob& job) {
    for (const std::string* file : {&job.copyPath, &job.renderPath, &job.readyPath})
        if (!file->empty()) ::unlink(file->c_str());
}

bool Waiting(const RenderJob& job) {
    return job.stage == RenderJob::Stage::Waiting && !job.unwanted;
}

}  // namespace

void RenderQueue::Expect(const std::vector<LookAhead::Document>& next) {
    expected_ = next;
    const auto inRun = [&](std::uint64_t key) {
        return std::any_of(next.begin(), next.end(), [&](const auto& d) { return d.key == key; });
    };
    std::erase_if(takenKeys_, [&](std::uint64_t key) { return !inRun(key); });
    // Whatever was made ahead for a document the run no longer opens goes.
    for (const auto& job : jobs_)
        if (!job->taken && !inRun(job->key)) job->unwanted = true;
}

std::shared_ptr<RenderJob> RenderQueue::Take(const std::string& path,
                                             const std::optional<FileIdentity>& now) {
    std::shared_ptr<RenderJob> taken;
    for (const auto& job : jobs_) {
        if (job->taken || job->unwanted || job->path != path) continue;
        // Never a PDF of another version of the document.
        if (!IsRenderOf(job->identity, now)) {
            job->unwanted = true;
            continue;
        }
        taken = job;
        break;
    }
    if (!taken) {
        // Not reached yet: it is the run's document of that name that nobody has taken.
        std::uint64_t key = 0;
        for (const auto& document : expected_)
            if (document.path == path && takenKeys_.count(document.key) == 0) {
                key = document.key;
                break;
            }
        taken = std::make_shared<RenderJob>(key, path);
    }
    taken->taken = true;
    if (taken->key != 0) takenKeys_.insert(taken->key);
    std::erase(jobs_, taken);
    const auto firstAhead =
        std::find_if(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->taken; });
    jobs_.insert(firstAhead, taken);
    return taken;
}

WorkAhead RenderQueue::Ahead() const {
    WorkAhead ahead;
    for (const auto& job : jobs_) {
        if (job->taken) continue;
        ++ahead.documents;
        ahead.bytes += job->bytes;
    }
    return ahead;
}

bool RenderQueue::Started(const LookAhead::Document& document) const {
    return takenKeys_.count(document.key) != 0 ||
           std::any_of(jobs_.begin(), jobs_.end(),
                       [&](const auto& job) { return job->key == document.key && !job->unwanted; });
}

std::shared_ptr<RenderJob> RenderQueue::Next(unsigned poolSize, bool create) {
    for (const auto& job : jobs_)  // taken ones come first
        if (Waiting(*job)) return job;
    if (!MayRenderAhead(Ahead(), poolSize)) return nullptr;
    for (const auto& document : expected_) {
        if (Started(document)) continue;
        auto job = std::make_shared<RenderJob>(document.key, document.path);
        if (create) jobs_.push_back(job);
        return job;
    }
    return nullptr;
}

void RenderQueue::DropUnwanted() {
    std::erase_if(jobs_, [](const std::shared_ptr<RenderJob>& job) {
        if (!job->unwanted || job->InFlight()) return false;
        RemoveFiles(*job);
        return true;
    });
}

void RenderQueue::Clear() {
    for (const auto& job : jobs_) {
        job->helper.reset();
        RemoveFiles(*job);
    }
    jobs_.clear();
}

}  // namespace pendrel::office
