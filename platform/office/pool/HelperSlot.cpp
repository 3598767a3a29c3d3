#include "platform/office/pool/HelperSlot.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "platform/office/pool/PoolPolicy.h"
#include "platform/office/process/ProcessStatus.h"
#include "platform/office/protocol/Refusal.h"

namespace pendrel::office {
namespace {

std::string Seconds(std::chrono::milliseconds limit) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count()) + " s";
}

std::string Megabytes(std::uint64_t bytes) {
    return std::to_string(bytes / (1024 * 1024)) + " MB";
}

Reply Answered(Outcome outcome, std::string text = {}) {
    Message answer;
    answer.outcome = outcome;
    answer.text = std::move(text);
    return {Reply::Status::Answered, answer, {}};
}

// How a document that was not copied is reported: as the helper would have reported it.
Reply CopyFailure(const DocumentCopy& copy, std::chrono::milliseconds limit) {
    switch (copy.status) {
        case DocumentCopy::Status::Missing:
            return Answered(Outcome::NotFound);
        case DocumentCopy::Status::Unreadable:
            return Answered(Outcome::Unreadable, copy.reason);
        case DocumentCopy::Status::NotAFile:
            return Answered(Outcome::NotWordDocument);
        case DocumentCopy::Status::NotWord: {
            const auto refusal = RefusalOf({copy.kind, {}});
            return Answered(refusal ? refusal->outcome : Outcome::NotWordDocument,
                            refusal ? refusal->detail : std::string());
        }
        case DocumentCopy::Status::TooLarge:
            return Answered(Outcome::NotWordDocument, "larger than " + Megabytes(LargestDocument) +
                                                          ", the most a Word document holds");
        case DocumentCopy::Status::NoSpace:
            return Answered(Outcome::NoSpace);
        case DocumentCopy::Status::TimedOut:
            return {
                Reply::Status::TimedOut, {}, "it took longer than " + Seconds(limit) + " to copy"};
        default:
            return Answered(Outcome::Failed, "it could not be copied: " + copy.reason);
    }
}

std::uint64_t SizeOf(const std::string& path) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    return file ? static_cast<std::uint64_t>(file.tellg()) : 0;
}

}  // namespace

HelperSlot::~HelperSlot() {
    Empty();
}

void HelperSlot::StartHelper() {
    helper_ = std::make_shared<HelperProcess>(setting_.command, setting_.spool.NewHelperFolder(),
                                              setting_.poke);
    documents_ = 0;
    startedAt_ = Clock::now();
    stoppedSince_.reset();
}

bool HelperSlot::IsFree() const {
    return !job_ && helper_ && helper_->IsReady() && helper_->IsUsable();
}

void HelperSlot::Begin(const std::shared_ptr<RenderJob>& job) {
    const std::string base = helper_->Folder() + "/" + std::to_string(++copies_);
    job_ = job;
    job->stage = RenderJob::Stage::Copying;
    job->helper = helper_;
    job->copyPath = base + ".doc";
    job->renderPath = base + ".pdf";
    job->since = Clock::now();
    ++job->attempts;
    ++documents_;
    // The copy counts against the load limit, on a thread of its own: meanwhile the pool
    // keeps watching its other helpers.
    copyResult_ = std::make_shared<CopyResult>();
    const auto deadline = job->since + setting_.limits.load;
    copier_ = std::jthread([result = copyResult_, source = job->path, target = job->copyPath,
                            deadline, poke = setting_.poke](std::stop_token stop) {
        DocumentCopy copy = CopyDocument(source, target, deadline, stop);
        {
            std::lock_guard lock(result->mutex);
            result->copy = std::move(copy);
        }
        if (poke) poke();
    });
    setting_.changed();
}

void HelperSlot::Follow() {
    if (!job_) return;
    if (job_->stage == RenderJob::Stage::Copying) FollowCopy();
    if (job_ && job_->stage == RenderJob::Stage::Loading) FollowLoad();
    if (job_ && job_->stage == RenderJob::Stage::Rendering) FollowRender();
    if (job_) WatchHelper();
}

void HelperSlot::FollowCopy() {
    std::optional<DocumentCopy> copy;
    {
        std::lock_guard lock(copyResult_->mutex);
        copy = copyResult_->copy;
    }
    if (!copy) return;
    copier_.join();
    RenderJob& job = *job_;
    if (copy->status != DocumentCopy::Status::Copied) {
        job.copyPath.clear();
        job.loadFailure = CopyFailure(*copy, setting_.limits.load);
        return EndJob(RenderJob::Stage::Failed);
    }
    job.identity = copy->identity;
    job.bytes = copy->identity.size;
    Send();
}

void HelperSlot::Send() {
    RenderJob& job = *job_;
    Message load;
    load.kind = MessageKind::Load;
    load.text = job.copyPath;
    job.loadRequest = helper_->Send(load);
    Message print;
    print.kind = MessageKind::Export;
    print.docId = job.loadRequest;
    print.text = job.renderPath;
    job.exportRequest = helper_->Send(print);
    Message close;
    close.kind = MessageKind::Close;
    close.docId = job.loadRequest;
    helper_->Send(close, false);
    job.stage = RenderJob::Stage::Loading;
    job.since = Clock::now();
    setting_.changed();
}

void HelperSlot::FollowLoad() {
    RenderJob& job = *job_;
    const std::optional<Reply> reply = helper_->Take(job.loadRequest);
    if (!reply) {
        const auto from = std::max(job.since, helper_->ReadyAt());
        if (Clock::now() - from > setting_.limits.load)
            GiveUp(Reply::Status::TimedOut,
                   "it took longer than " + Seconds(setting_.limits.load) + " to open");
        return;
    }
    if (reply->status == Reply::Status::Answered && reply->answer.outcome == Outcome::Ok) {
        job.loaded = true;
        job.stage = RenderJob::Stage::Rendering;
        job.since = Clock::now();
        return setting_.changed();
    }
    if (reply->status != Reply::Status::Answered) return Fail(*reply);
    // The helper still answers the print request that followed; it is read before the helper
    // gets the next document.
    job.loadFailure = reply;
    job.stage = RenderJob::Stage::Rendering;
    setting_.changed();
}

void HelperSlot::FollowRender() {
    RenderJob& job = *job_;
    const std::optional<Reply> reply = helper_->Take(job.exportRequest);
    if (!reply) {
        if (job.loaded && Clock::now() - job.since > setting_.limits.render)
            GiveUp(Reply::Status::TimedOut,
                   "it took longer than " + Seconds(setting_.limits.render) + " to print");
        return;
    }
    if (!job.loaded) return EndJob(RenderJob::Stage::Failed);  // loadFailure says why
    if (reply->status != Reply::Status::Answered) return Fail(*reply);
    if (reply->answer.outcome != Outcome::Ok) {
        job.renderFailure = reply;
        return EndJob(RenderJob::Stage::Failed);
    }
    // Out of the helper's folder, which goes with the helper.
    job.readyPath = setting_.spool.NewFile();
    if (job.readyPath.empty() || std::rename(job.renderPath.c_str(), job.readyPath.c_str()) != 0) {
        job.renderFailure = Answered(Outcome::ExportFailed, "the PDF could not be kept");
        return EndJob(RenderJob::Stage::Failed);
    }
    job.renderPath.clear();
    job.bytes = SizeOf(job.readyPath);
    job.pages = reply->answer.pages;
    EndJob(RenderJob::Stage::Rendered);
}

// A document that makes its helper swell past the ceiling is stopped before it takes the
// machine's memory with it; a helper someone else stopped is not waited for until the time
// limit blames the document.
void HelperSlot::WatchHelper() {
    if (!helper_->IsUsable()) return;
    const pid_t pid = helper_->Pid();
    if (pid <= 0) return;
    const std::uint64_t resident = ResidentBytesOf(pid);
    helper_->NoteResident(resident);
    if (OverMemoryCeiling(resident, setting_.limits.memory))
        return GiveUp(Reply::Status::OverMemory,
                      "it needed more than " + Megabytes(setting_.limits.memory) + " of memory");
    if (!IsStopped(pid)) {
        stoppedSince_.reset();
        return;
    }
    if (!stoppedSince_) stoppedSince_ = Clock::now();
    if (Clock::now() - *stoppedSince_ > setting_.limits.stopped)
        GiveUp(Reply::Status::EngineStopped,
               "the document engine was stopped from outside (it was found suspended)");
}

void HelperSlot::GiveUp(Reply::Status how, const std::string& why) {
    helper_->Kill(why);
    Fail(Reply{how, {}, why});
}

void HelperSlot::Fail(const Reply& reply) {
    StopCopy();
    if (ShouldTryAgain(reply.status, job_->attempts)) {
        job_->StartOver();
        job_.reset();
        return setting_.changed();
    }
    (job_->loaded ? job_->renderFailure : job_->loadFailure) = reply;
    EndJob(RenderJob::Stage::Failed);
}

void HelperSlot::StopCopy() {
    if (!copier_.joinable()) return;
    copier_.request_stop();  // it stops within a slice
    copier_.join();
}

void HelperSlot::EndJob(RenderJob::Stage stage) {
    RenderJob& job = *job_;
    job.stage = stage;
    job.helper.reset();
    job.copyPath.clear();  // the helper removes its copy when it closes the document
    job_.reset();
    // LibreOffice keeps memory from every document it opened: a helper that has served many,
    // or grown large, is replaced once it is idle.
    if (helper_ && helper_->IsUsable() &&
        ShouldRetire(documents_,
                     std::max(helper_->ResidentBytes(), ResidentBytesOf(helper_->Pid())),
                     setting_.limits.memory))
        helper_->Retire();
    setting_.changed();
}

std::shared_ptr<HelperProcess> HelperSlot::LetGoOfEnded(std::optional<Reply>& cannotStart) {
    if (!helper_) return nullptr;
    if (!helper_->IsReady() && helper_->IsUsable() &&
        Clock::now() - startedAt_ > setting_.limits.start)
        helper_->Kill("the document engine did not start within " + Seconds(setting_.limits.start));
    if (helper_->IsUsable() || job_) return nullptr;
    if (helper_->IsGone() && !helper_->IsReady()) {
        if (auto failure = helper_->Take(0);
            failure && failure->status == Reply::Status::NotStarted)
            cannotStart = failure;
    }
    setting_.changed();
    return std::move(helper_);
}

std::shared_ptr<HelperProcess> HelperSlot::Empty() {
    StopCopy();
    if (job_) job_->helper.reset();
    job_.reset();
    return std::move(helper_);
}

}  // namespace pendrel::office
