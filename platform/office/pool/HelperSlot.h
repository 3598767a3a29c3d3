#pragma once
// One place in the pool: a helper, the document it works on, and that document's way through
// it. The document is copied into the helper's folder on a thread of its own (a large file
// never holds up the pool), then loaded, printed and closed; every step is held to its time
// limit, the helper to the memory ceiling, and a helper found stopped from outside is given
// up. The pool calls every member under its lock, from its one thread.
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/HelperProcess.h"
#include "platform/office/pool/RenderJob.h"
#include "platform/office/pool/SpoolFolder.h"

namespace pendrel::office {

class HelperSlot {
public:
    using Clock = RenderJob::Clock;
    // What every slot of a pool shares. poke wakes the pool's thread; changed tells the
    // pool's waiters that a job moved on.
    struct Setting {
        HelperCommand command;
        SpoolFolder& spool;
        HelperLimits limits;
        std::function<void()> poke;
        std::function<void()> changed;
    };

    explicit HelperSlot(const Setting& setting) : setting_(setting) {}
    ~HelperSlot();
    HelperSlot(const HelperSlot&) = delete;
    HelperSlot& operator=(const HelperSlot&) = delete;

    // A new helper in the slot, which must be empty.
    void StartHelper();
    // Whether a helper is in the slot / ready and idle, to be given a document.
    bool HasHelper() const { return helper_ != nullptr; }
    bool IsFree() const;
    const std::shared_ptr<RenderJob>& Job() const { return job_; }
    const std::shared_ptr<HelperProcess>& Helper() const { return helper_; }

    // Gives the idle helper the job: its copy begins.
    void Begin(const std::shared_ptr<RenderJob>& job);
    // Moves the job on as far as its helper has come, and holds both to their limits.
    void Follow();
    // Kills a helper that did not start in time; a helper that is no use any more and has no
    // job leaves the slot, with why it never started if it did not.
    std::shared_ptr<HelperProcess> LetGoOfEnded(std::optional<Reply>& cannotStart);
    // The helper leaves the slot, its job dropped and its copy stopped (at shutdown).
    std::shared_ptr<HelperProcess> Empty();

private:
    struct CopyResult {
        std::mutex mutex;
        std::optional<DocumentCopy> copy;
    };

    void FollowCopy();
    void FollowLoad();
    void FollowRender();
    void WatchHelper();
    void Send();
    // The one way a step ends that we end: the helper is killed for why, and the job fails
    // with how (or goes to another helper, when that is not the document's doing).
    void GiveUp(Reply::Status how, const std::string& why);
    void Fail(const Reply& reply);
    void StopCopy();
    void EndJob(RenderJob::Stage stage);

    Setting setting_;
    std::shared_ptr<HelperProcess> helper_;
    std::shared_ptr<RenderJob> job_;
    int documents_ = 0;  // the helper has been given
    Clock::time_point startedAt_;
    std::optional<Clock::time_point> stoppedSince_;  // when the helper was first seen stopped
    unsigned copies_ = 0;
    std::shared_ptr<CopyResult> copyResult_;
    std::jthread copier_;
};

}  // namespace pendrel::office
