#pragma once
// The engine's pool of helpers, which renders documents the way a print spooler works ahead of
// its printer. The batch tells it which documents it opens next (LookAhead); a thread of its
// own gives each to a free helper (HelperSlot) to be copied, loaded and printed to a PDF in the
// spool, and keeps the finished PDF until Documents.Open takes it. A document no helper has
// reached when the batch opens it goes first. How many helpers, how far ahead and when a
// helper is replaced are the pool's policy (PoolPolicy.h); which render goes next is the
// queue's (RenderQueue.h).
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/Automation.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/HelperSlot.h"
#include "platform/office/pool/PoolPolicy.h"
#include "platform/office/pool/RenderJob.h"
#include "platform/office/pool/RenderQueue.h"
#include "platform/office/pool/SpoolFolder.h"

namespace pendrel::office {

// One helper per core, as many as this machine's available memory allows (PoolSizeFor).
unsigned DefaultPoolSize();

class RenderPool : public LookAhead {
public:
    // onChange is called (from any thread) whenever a job or helper changes, so that a waiter
    // on the window's thread looks again at once.
    RenderPool(HelperCommand command, SpoolFolder& spool, unsigned poolSize, HelperLimits limits,
               std::function<void()> onChange);
    ~RenderPool() override;
    RenderPool(const RenderPool&) = delete;
    RenderPool& operator=(const RenderPool&) = delete;

    std::size_t Depth() const override;
    void Expect(const std::vector<Document>& next) override;

    // Starts the pool's helpers, so that the first document does not wait for them.
    void WarmUp();
    // The render of the document at path for the batch: the one made ahead for it when that
    // is of the file as it is now, else a new one that goes before everything else.
    std::shared_ptr<RenderJob> Take(const std::string& path);
    // Whether the job has opened: nothing while it is on its way, else its failure or none.
    std::optional<std::optional<Reply>> LoadOutcome(const RenderJob& job) const;
    struct RenderResult {
        bool rendered = false;
        std::string pdf;               // the finished PDF in the spool, when rendered
        std::optional<Reply> failure;  // why not; neither: the wait was stopped
        std::uint32_t pages = 0;       // of the PDF, when rendered
    };
    // Waits until the job is rendered or has failed, or stop is requested.
    RenderResult WaitRendered(const std::shared_ptr<RenderJob>& job, std::stop_token stop);
    // The batch is done with the job: its files go.
    void Release(const std::shared_ptr<RenderJob>& job);
    // Ends every helper and drops every job; nothing starts afterwards.
    void Shutdown();

    unsigned PoolSize() const { return static_cast<unsigned>(slots_.size()); }
    int HelpersStarted() const;
    // The time every helper has spent working on requests, summed.
    std::chrono::microseconds WorkTime() const;
    // The helpers alive now (for tests and the benchmark).
    std::vector<pid_t> HelperPids() const;
    // The most memory each helper started so far was seen to hold.
    std::vector<std::uint64_t> HelperPeaks() const;

private:
    using Lock = std::unique_lock<std::mutex>;

    void Run(std::stop_token stop);
    void Step();
    void KeepHelpers();
    void Assign();
    void LetGoOfEnded();
    void Changed();
    void Poke();

    std::function<void()> onChange_;
    HelperSlot::Setting setting_;

    mutable std::mutex mutex_;
    std::condition_variable_any changed_;  // with mutex_: a job finished
    std::mutex pokeMutex_;
    std::condition_variable_any wake_;  // with pokeMutex_: something for the thread to do
    bool poked_ = false;
    bool warm_ = false;
    bool shutDown_ = false;
    std::optional<Reply> cannotStart_;  // a helper could not start: no use trying again at once
    std::vector<std::unique_ptr<HelperSlot>> slots_;
    std::vector<std::shared_ptr<HelperProcess>> ending_;
    RenderQueue queue_;
    int started_ = 0;
    std::chrono::microseconds endedWork_{0};
    std::vector<std::uint64_t> endedPeaks_;
    std::jthread thread_;
};

}  // namespace pendrel::office
