#include "platform/office/pool/PrintSpooler.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "platform/office/OfficeLimits.h"

namespace pendrel::office {
namespace {

using Clock = RenderJob::Clock;

std::string Seconds(std::chrono::milliseconds limit) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s";
}

Reply Answered(Outcome outcome, std::string text = {}) {
    Message answer;
    answer.outcome = outcome;
    answer.text = std::move(text);
    return {Reply::Status::Answered, answer, {}};
}

// How a failed copy is reported: as the helper would have reported the document.
Reply CopyFailure(const DocumentCopy& copy) {
    switch (copy.status) {
        case DocumentCopy::Status::Missing:
            return Answered(Outcome::NotFound);
        case DocumentCopy::Status::Unreadable:
            return Answered(Outcome::Unreadable, copy.reason);
        case DocumentCopy::Status::NotAFile:
            return Answered(Outcome::NotWordDocument);
        case DocumentCopy::Status::NoSpace:
            return Answered(Outcome::NoSpace);
        default:
            return Answered(Outcome::Failed, "it could not be copied: " + copy.reason);
    }
}

std::uint64_t SizeOf(const std::string& path) {
    if (path.empty()) return 0;
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    return file ? static_cast<std::uint64_t>(file.tellg()) : 0;
}

void RemoveFiles(const RenderJob& job) {
    for (const std::string* file : {&job.copyPath, &job.renderPath, &job.readyPath})
        if (!file->empty()) ::unlink(file->c_str());
}

// What the process holds in memory now, read from /proc.
std::uint64_t ResidentNow(pid_t pid) {
    if (pid <= 0) return 0;
    std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

std::uint64_t AvailableMemory() {
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    std::uint64_t value = 0;
    std::string unit;
    while (meminfo >> key >> value >> unit)
        if (key == "MemAvailable:") return value * 1024;
    return 0;
}

}  // namespace

unsigned PoolSizeFor(unsigned cores, std::uint64_t availableBytes) {
    const auto byMemory = static_cast<unsigned>(availableBytes / 2 / HelperTypicalPeak);
    return std::max(1u, std::min({cores, byMemory, MostHelpers}));
}

unsigned DefaultPoolSize() {
    const long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
    return PoolSizeFor(cores > 0 ? static_cast<unsigned>(cores) : 1u, AvailableMemory());
}

PrintSpooler::PrintSpooler(HelperCommand command, SpoolFolder& spool, unsigned poolSize,
                           HelperLimits limits, std::function<void()> onChange)
    : command_(std::move(command)),
      spool_(spool),
      limits_(limits),
      onChange_(std::move(onChange)),
      slots_(std::max(1u, poolSize)) {
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

PrintSpooler::~PrintSpooler() {
    Shutdown();
}

std::size_t PrintSpooler::Depth() const {
    return LookAheadDocuments + 1;
}

void PrintSpooler::Changed() {
    changed_.notify_all();
    if (onChange_) onChange_();
}

void PrintSpooler::Poke() {
    {
        std::lock_guard lock(pokeMutex_);
        poked_ = true;
    }
    wake_.notify_all();
}

void PrintSpooler::Run(std::stop_token stop) {
    while (!stop.stop_requested()) {
        std::vector<std::shared_ptr<HelperProcess>> ended;
        {
            Lock lock(mutex_);
            Step(lock);
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

void PrintSpooler::Step(Lock& lock) {
    if (shutDown_) return;
    for (Slot& slot : slots_)
        if (slot.job) Follow(slot);
    KeepHelpers(lock);
    DropUnwanted();
    Assign(lock);
}

void PrintSpooler::KeepHelpers(Lock&) {
    for (Slot& slot : slots_) {
        if (slot.helper && !slot.helper->IsReady() && slot.helper->IsUsable() &&
            Clock::now() - slot.startedAt > limits_.start)
            slot.helper->Kill("the document engine did not start within " + Seconds(limits_.start));
        if (slot.helper && !slot.helper->IsUsable() && !slot.job) {
            if (slot.helper->IsGone() && !slot.helper->IsReady()) {
                if (auto failure = slot.helper->Take(0);
                    failure && failure->status == Reply::Status::NotStarted)
                    cannotStart_ = failure;
            }
            ending_.push_back(std::move(slot.helper));
            slot.helper.reset();
            Changed();
        }
        if (!slot.helper && (warm_ || NextJob(false)) && !cannotStart_) StartHelper(slot);
    }
}

void PrintSpooler::StartHelper(Slot& slot) {
    const std::string folder = spool_.NewHelperFolder();
    slot.helper = std::make_shared<HelperProcess>(command_, folder, [this] { Poke(); });
    slot.documents = 0;
    slot.startedAt = Clock::now();
    ++started_;
}

void PrintSpooler::Follow(Slot& slot) {
    RenderJob& job = *slot.job;
    if (job.stage == RenderJob::Stage::Loading) FollowLoad(slot);
    if (slot.job && slot.job->stage == RenderJob::Stage::Rendering) FollowRender(slot);
    if (!slot.job || !slot.helper || !slot.helper->IsUsable()) return;
    // A document that makes its helper swell past the ceiling is stopped before it takes the
    // machine's memory with it.
    const std::uint64_t resident = ResidentNow(slot.helper->Pid());
    slot.helper->NoteResident(resident);
    if (resident > HelperMemoryCeiling) {
        slot.helper->Kill("it needed more than " +
                          std::to_string(HelperMemoryCeiling / (1024 * 1024)) + " MB of memory");
        Reply reply{Reply::Status::HelperLost, {}, slot.helper->Take(0)->detail};
        (slot.job->loaded ? slot.job->renderFailure : slot.job->loadFailure) = reply;
        EndJob(slot, RenderJob::Stage::Failed);
    }
}

void PrintSpooler::FollowLoad(Slot& slot) {
    RenderJob& job = *slot.job;
    const std::optional<Reply> reply = slot.helper->Take(job.loadRequest);
    if (!reply) {
        const auto from = std::max(job.since, slot.helper->ReadyAt());
        if (Clock::now() - from <= limits_.load) return;
        const std::string why = "it took longer than " + Seconds(limits_.load) + " to open";
        slot.helper->Kill(why);
        job.loadFailure = Reply{Reply::Status::TimedOut, {}, why};
        return EndJob(slot, RenderJob::Stage::Failed);
    }
    if (reply->status == Reply::Status::Answered && reply->answer.outcome == Outcome::Ok) {
        job.loaded = true;
        job.stage = RenderJob::Stage::Rendering;
        job.since = Clock::now();
        return Changed();
    }
    job.loadFailure = reply;
    // The helper still answers the print request that followed; it is read before the helper
    // gets the next document.
    if (reply->status == Reply::Status::Answered) {
        job.stage = RenderJob::Stage::Rendering;
        Changed();
    } else {
        EndJob(slot, RenderJob::Stage::Failed);
    }
}

void PrintSpooler::FollowRender(Slot& slot) {
    RenderJob& job = *slot.job;
    const std::optional<Reply> reply = slot.helper->Take(job.exportRequest);
    if (!reply) {
        if (!job.loaded || Clock::now() - job.since <= limits_.render) return;
        const std::string why = "it took longer than " + Seconds(limits_.render) + " to print";
        slot.helper->Kill(why);
        job.renderFailure = Reply{Reply::Status::TimedOut, {}, why};
        return EndJob(slot, RenderJob::Stage::Failed);
    }
    if (!job.loaded) return EndJob(slot, RenderJob::Stage::Failed);
    if (reply->status != Reply::Status::Answered || reply->answer.outcome != Outcome::Ok) {
        job.renderFailure = reply;
        return EndJob(slot, RenderJob::Stage::Failed);
    }
    // Out of the helper's folder, which goes with the helper.
    job.readyPath = spool_.NewFile();
    if (job.readyPath.empty() || std::rename(job.renderPath.c_str(), job.readyPath.c_str()) != 0) {
        job.renderFailure = Answered(Outcome::ExportFailed, "the PDF could not be kept");
        return EndJob(slot, RenderJob::Stage::Failed);
    }
    job.renderPath.clear();
    job.bytes = SizeOf(job.readyPath);
    job.pages = reply->answer.pages;
    EndJob(slot, RenderJob::Stage::Rendered);
}

void PrintSpooler::EndJob(Slot& slot, RenderJob::Stage stage) {
    RenderJob& job = *slot.job;
    job.stage = stage;
    job.helper.reset();
    job.copyPath.clear();  // the helper removes its copy when it closes the document
    slot.job.reset();
    // LibreOffice keeps memory from every document it opened: a helper that has served many,
    // or grown large, is replaced once it is idle.
    if (slot.helper && slot.helper->IsUsable() &&
        (++slot.documents >= HelperDocumentLimit ||
         std::max(slot.helper->ResidentBytes(), ResidentNow(slot.helper->Pid())) >=
             HelperMemoryCeiling))
        slot.helper->Retire();
    Changed();
}

std::shared_ptr<RenderJob> PrintSpooler::NextJob(bool create) {
    for (const auto& job : jobs_)
        if (job->taken && job->stage == RenderJob::Stage::Waiting && !job->unwanted) return job;
    for (const auto& job : jobs_)
        if (!job->taken && job->stage == RenderJob::Stage::Waiting && !job->unwanted) return job;
    // Within the bounds, the next document of the run that nobody has started yet.
    std::size_t ahead = 0;
    std::uint64_t bytes = 0;
    for (const auto& job : jobs_) {
        if (job->taken) continue;
        ++ahead;
        bytes += job->bytes;
    }
    if (ahead >= LookAheadDocuments || bytes >= LookAheadBytes) return nullptr;
    for (const Document& document : expected_) {
        const bool started = takenKeys_.count(document.key) != 0 ||
                             std::any_of(jobs_.begin(), jobs_.end(), [&](const auto& job) {
                                 return job->key == document.key && !job->unwanted;
                             });
        if (started) continue;
        if (!create) return std::make_shared<RenderJob>(document.key, document.path);
        jobs_.push_back(std::make_shared<RenderJob>(document.key, document.path));
        return jobs_.back();
    }
    return nullptr;
}

void PrintSpooler::Assign(Lock& lock) {
    for (Slot& slot : slots_) {
        if (shutDown_) return;
        if (slot.job || !slot.helper || !slot.helper->IsReady() || !slot.helper->IsUsable())
            continue;
        const std::shared_ptr<RenderJob> job = NextJob(true);
        if (!job) return;
        Begin(lock, slot, job);
    }
}

void PrintSpooler::Begin(Lock& lock, Slot& slot, const std::shared_ptr<RenderJob>& job) {
    const std::shared_ptr<HelperProcess> helper = slot.helper;
    const std::string base = helper->Folder() + "/" + std::to_string(++copies_);
    job->stage = RenderJob::Stage::Copying;
    job->helper = helper;
    job->copyPath = base + ".doc";
    job->renderPath = base + ".pdf";
    job->since = Clock::now();
    slot.job = job;
    // A large document takes a while to copy: the window's thread is not kept waiting for it.
    const std::string source = job->path, copyPath = job->copyPath;
    lock.unlock();
    const DocumentCopy copy = CopyDocument(source, copyPath);
    lock.lock();
    if (shutDown_) return;
    if (copy.status != DocumentCopy::Status::Copied) {
        job->loadFailure = CopyFailure(copy);
        job->copyPath.clear();
        return EndJob(slot, RenderJob::Stage::Failed);
    }
    job->identity = copy.identity;
    job->bytes = copy.identity.size;
    Message load;
    load.kind = MessageKind::Load;
    load.text = job->copyPath;
    job->loadRequest = helper->Send(load);
    Message print;
    print.kind = MessageKind::Export;
    print.docId = job->loadRequest;
    print.text = job->renderPath;
    job->exportRequest = helper->Send(print);
    Message close;
    close.kind = MessageKind::Close;
    close.docId = job->loadRequest;
    helper->Send(close, false);
    job->stage = RenderJob::Stage::Loading;
    job->since = Clock::now();
    Changed();
}

void PrintSpooler::DropUnwanted() {
    std::erase_if(jobs_, [](const std::shared_ptr<RenderJob>& job) {
        if (!job->unwanted || job->InFlight()) return false;
        RemoveFiles(*job);
        return true;
    });
}

void PrintSpooler::Expect(const std::vector<Document>& next) {
    {
        std::lock_guard lock(mutex_);
        expected_ = next;
        std::erase_if(takenKeys_, [&](std::uint64_t key) {
            return std::none_of(next.begin(), next.end(),
                                [&](const Document& d) { return d.key == key; });
        });
        // Whatever was made ahead for a document the run no longer opens goes.
        for (const auto& job : jobs_) {
            const bool still = std::any_of(next.begin(), next.end(),
                                           [&](const Document& d) { return d.key == job->key; });
            if (!job->taken && !still) job->unwanted = true;
        }
    }
    Poke();
}

void PrintSpooler::WarmUp() {
    {
        std::lock_guard lock(mutex_);
        warm_ = true;
        cannotStart_.reset();
    }
    Poke();
}

std::shared_ptr<RenderJob> PrintSpooler::Take(const std::string& path) {
    const std::optional<FileIdentity> now = IdentityOf(path);
    std::shared_ptr<RenderJob> taken;
    {
        std::lock_guard lock(mutex_);
        cannotStart_.reset();  // asked again: perhaps what was missing is there now
        for (const auto& job : jobs_) {
            if (job->taken || job->unwanted || job->path != path) continue;
            // Never a PDF of another version of the document.
            if (job->identity && job->identity != now) {
                job->unwanted = true;
                continue;
            }
            taken = job;
            break;
        }
        if (!taken) {
            // Not reached yet: it is the run's document of that name that nobody has taken.
            std::uint64_t key = 0;
            for (const Document& document : expected_)
                if (document.path == path && takenKeys_.count(document.key) == 0) {
                    key = document.key;
                    break;
                }
            taken = std::make_shared<RenderJob>(key, path);
        }
        taken->taken = true;
        if (taken->key != 0) takenKeys_.insert(taken->key);
        // Taken renders go first, in the order they were taken.
        std::erase(jobs_, taken);
        const auto firstAhead =
            std::find_if(jobs_.begin(), jobs_.end(), [](const auto& job) { return !job->taken; });
        jobs_.insert(firstAhead, taken);
    }
    Poke();
    return taken;
}

std::optional<std::optional<Reply>> PrintSpooler::LoadOutcome(const RenderJob& job) const {
    std::lock_guard lock(mutex_);
    if (job.loadFailure) return std::optional<Reply>(job.loadFailure);
    if (job.loaded) return std::optional<Reply>();
    if (cannotStart_) return std::optional<Reply>(cannotStart_);
    if (shutDown_)
        return std::optional<Reply>(
            Reply{Reply::Status::NotStarted, {}, "the document engine was shut down"});
    return std::nullopt;
}

PrintSpooler::RenderResult PrintSpooler::WaitRendered(const std::shared_ptr<RenderJob>& job,
                                                      std::stop_token stop) {
    Lock lock(mutex_);
    changed_.wait(lock, stop, [&] { return job->Finished() || shutDown_; });
    if (job->stage == RenderJob::Stage::Rendered)
        return {true, job->readyPath, std::nullopt, job->pages};
    if (job->stage == RenderJob::Stage::Failed)
        return {false, {}, job->renderFailure ? job->renderFailure : job->loadFailure};
    return {};
}

void PrintSpooler::Release(const std::shared_ptr<RenderJob>& job) {
    {
        std::lock_guard lock(mutex_);
        job->unwanted = true;
        DropUnwanted();
    }
    Poke();
}

void PrintSpooler::Shutdown() {
    std::vector<std::shared_ptr<HelperProcess>> helpers;
    {
        std::lock_guard lock(mutex_);
        if (shutDown_) return;
        shutDown_ = true;
        for (Slot& slot : slots_) {
            if (slot.helper) helpers.push_back(std::move(slot.helper));
            slot.job.reset();
        }
        for (auto& helper : ending_) helpers.push_back(std::move(helper));
        ending_.clear();
        for (const auto& job : jobs_) {
            job->helper.reset();
            RemoveFiles(*job);
        }
        jobs_.clear();
    }
    changed_.notify_all();
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
    // Every helper is asked to end at once; those still busy are killed after the grace time.
    for (auto& helper : helpers) helper->Retire();
    const auto deadline = Clock::now() + HelperEndGrace;
    while (Clock::now() < deadline &&
           std::any_of(helpers.begin(), helpers.end(), [](const auto& h) { return !h->IsGone(); }))
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    for (auto& helper : helpers) helper->Kill("the document engine was shut down");
    helpers.clear();
}

int PrintSpooler::HelpersStarted() const {
    std::lock_guard lock(mutex_);
    return started_;
}

std::chrono::microseconds PrintSpooler::WorkTime() const {
    std::lock_guard lock(mutex_);
    std::chrono::microseconds total = endedWork_;
    for (const Slot& slot : slots_)
        if (slot.helper) total += slot.helper->WorkTime();
    for (const auto& helper : ending_) total += helper->WorkTime();
    return total;
}

std::vector<std::uint64_t> PrintSpooler::HelperPeaks() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint64_t> peaks = endedPeaks_;
    for (const Slot& slot : slots_)
        if (slot.helper) peaks.push_back(slot.helper->PeakResidentBytes());
    for (const auto& helper : ending_) peaks.push_back(helper->PeakResidentBytes());
    return peaks;
}

std::vector<pid_t> PrintSpooler::HelperPids() const {
    std::lock_guard lock(mutex_);
    std::vector<pid_t> pids;
    for (const Slot& slot : slots_)
        if (slot.helper && slot.helper->Pid() > 0) pids.push_back(slot.helper->Pid());
    return pids;
}

}  // namespace pendrel::office
