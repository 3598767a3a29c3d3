#include "platform/office/pool/RenderPool.h"

#include <unistd.h>

#include <algorithm>

#include "platform/office/pool/PoolPolicy.h"
#include "platform/office/process/ProcessStatus.h"

namespace pendrel::office {

unsigned DefaultPoolSize() {
    const long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
    return PoolSizeFor(cores > 0 ? static_cast<unsigned>(cores) : 1u, AvailableMemory());
}

RenderPool::RenderPool(HelperCommand command, SpoolFolder& spool, unsigned poolSize,
                       HelperLimits limits, std::function<void()> onChange)
    : onChange_(std::move(onChange)),
      setting_{std::move(command), spool, limits, [this] { Poke(); }, [this] { Changed(); }} {
    for (unsigned i = 0; i < std::max(1u, poolSize); ++i)
        slots_.push_back(std::make_unique<HelperSlot>(setting_));
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

RenderPool::~RenderPool() {
    Shutdown();
}

std::size_t RenderPool::Depth() const {
    return LookAheadDocumentsFor(PoolSize()) + 1;
}

void RenderPool::Changed() {
    changed_.notify_all();
    if (onChange_) onChange_();
}

void RenderPool::Poke() {
    {
        std::lock_guard lock(pokeMutex_);
        poked_ = true;
    }
    wake_.notify_all();
}

void RenderPool::Run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        std::vector<std::shared_ptr<HelperProcess>> ended;
        {
            Lock lock(mutex_);
            if (!shutDown_) Step();
            // Helpers that have ended are let go outside the lock: their end joins a thread.
            std::erase_if(ending_, [&](const auto& helper) {
                if (!helper->IsGone()) return false;
                endedWork_ += helper->WorkTime();
                endedPeaks_.push_back(helper->PeakResidentBytes());
                ended.push_back(helper);
                return true;
            });
        }
        ended.clear();
        std::unique_lock lock(pokeMutex_);
        wake_.wait_for(lock, stop, WaitSlice, [this] { return poked_; });
        poked_ = false;
    }
}

void RenderPool::Step() {
    for (auto& slot : slots_) slot->Follow();
    KeepHelpers();
    queue_.DropUnwanted();
    Assign();
}

void RenderPool::KeepHelpers() {
    for (auto& slot : slots_) {
        if (auto ended = slot->LetGoOfEnded(cannotStart_)) ending_.push_back(std::move(ended));
        if (!slot->HasHelper() && (warm_ || queue_.Next(PoolSize(), false)) && !cannotStart_) {
            slot->StartHelper();
            ++started_;
        }
    }
}

void RenderPool::Assign() {
    for (auto& slot : slots_) {
        if (!slot->IsFree()) continue;
        const std::shared_ptr<RenderJob> job = queue_.Next(PoolSize(), true);
        if (!job) return;
        slot->Begin(job);
    }
}

void RenderPool::Expect(const std::vector<Document>& next) {
    {
        std::lock_guard lock(mutex_);
        queue_.Expect(next);
    }
    Poke();
}

void RenderPool::WarmUp() {
    {
        std::lock_guard lock(mutex_);
        warm_ = true;
        cannotStart_.reset();
    }
    Poke();
}

std::shared_ptr<RenderJob> RenderPool::Take(const std::string& path) {
    const std::optional<FileIdentity> now = IdentityOf(path);
    std::shared_ptr<RenderJob> taken;
    {
        std::lock_guard lock(mutex_);
        cannotStart_.reset();  // asked again: perhaps what was missing is there now
        taken = queue_.Take(path, now);
    }
    Poke();
    return taken;
}

std::optional<std::optional<Reply>> RenderPool::LoadOutcome(const RenderJob& job) const {
    std::lock_guard lock(mutex_);
    if (job.loadFailure) return std::optional<Reply>(job.loadFailure);
    if (job.loaded) return std::optional<Reply>();
    if (cannotStart_) return std::optional<Reply>(cannotStart_);
    if (shutDown_)
        return std::optional<Reply>(
            Reply{Reply::Status::NotStarted, {}, "the document engine was shut down"});
    return std::nullopt;
}

RenderPool::RenderResult RenderPool::WaitRendered(const std::shared_ptr<RenderJob>& job,
                                                  std::stop_token stop) {
    Lock lock(mutex_);
    // A job sent back to wait for another helper fails when no helper can start.
    const auto stranded = [&] { return cannotStart_ && job->stage == RenderJob::Stage::Waiting; };
    changed_.wait(lock, stop, [&] { return job->Finished() || shutDown_ || stranded(); });
    if (job->stage == RenderJob::Stage::Rendered)
        return {true, job->readyPath, std::nullopt, job->pages};
    if (job->stage == RenderJob::Stage::Failed)
        return {false, {}, job->renderFailure ? job->renderFailure : job->loadFailure};
    if (stranded()) return {false, {}, cannotStart_};
    return {};
}

void RenderPool::Release(const std::shared_ptr<RenderJob>& job) {
    {
        std::lock_guard lock(mutex_);
        job->unwanted = true;
        queue_.DropUnwanted();
    }
    Poke();
}

void RenderPool::Shutdown() {
    std::vector<std::shared_ptr<HelperProcess>> helpers;
    {
        std::lock_guard lock(mutex_);
        if (shutDown_) return;
        shutDown_ = true;
        for (auto& slot : slots_)
            if (auto helper = slot->Empty()) helpers.push_back(std::move(helper));
        for (auto& helper : ending_) helpers.push_back(std::move(helper));
        ending_.clear();
        queue_.Clear();
    }
    changed_.notify_all();
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
    // Every helper is asked to end at once; those still busy are killed after the grace time.
    for (auto& helper : helpers) helper->Retire();
    const auto deadline = RenderJob::Clock::now() + HelperEndGrace;
    while (RenderJob::Clock::now() < deadline &&
           std::any_of(helpers.begin(), helpers.end(), [](const auto& h) { return !h->IsGone(); }))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (auto& helper : helpers) helper->Kill("the document engine was shut down");
    helpers.clear();
}

int RenderPool::HelpersStarted() const {
    std::lock_guard lock(mutex_);
    return started_;
}

std::chrono::microseconds RenderPool::WorkTime() const {
    std::lock_guard lock(mutex_);
    std::chrono::microseconds total = endedWork_;
    for (const auto& slot : slots_)
        if (slot->Helper()) total += slot->Helper()->WorkTime();
    for (const auto& helper : ending_) total += helper->WorkTime();
    return total;
}

std::vector<std::uint64_t> RenderPool::HelperPeaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint64_t> peaks = endedPeaks_;
    for (const auto& slot : slots_)
        if (slot->Helper()) peaks.push_back(slot->Helper()->PeakResidentBytes());
    for (const auto& helper : ending_) peaks.push_back(helper->PeakResidentBytes());
    return peaks;
}

std::vector<pid_t> RenderPool::HelperPids() const {
    std::lock_guard lock(mutex_);
    std::vector<pid_t> pids;
    for (const auto& slot : slots_)
        if (slot->Helper() && slot->Helper()->Pid() > 0) pids.push_back(slot->Helper()->Pid());
    return pids;
}

}  // namespace pendrel::office
