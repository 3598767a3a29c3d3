#pragma once
// One running pendrel-office helper, seen from the window's process. It is started in the
// background, answers requests in the order they were sent, and ends when this object goes:
// asked to stop first, killed when it does not. A reader thread receives its answers; every
// arrival, and the helper's end, is announced through onActivity so that its user can look at
// once. A helper that was told to die is never given work again, whether or not it has ended.
#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "platform/office/pool/Reply.h"
#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {

// Whether documents may be rendered by a helper that could not isolate its renderer
// (Protocol.h, Isolation), and what the user is told about it.
struct IsolationPolicy {
    bool allowUnisolated = false;
    // How the user allows it ("to allow it, set ..."), said when a helper refuses to render
    // without isolation.
    std::string howToAllow;
    // Called from a helper's reader thread when the helper renders without isolation, with what
    // it lacks; it must not call back into the engine.
    std::function<void(const std::string& missing)> onUnisolated;
};

// The policy with its warning said at most once, however many helpers go without.
IsolationPolicy WarningOnce(IsolationPolicy policy);

struct HelperCommand {
    std::string executable;     // the pendrel-office program
    std::string profileFolder;  // its LibreOffice profile (each helper locks one of base, -2...)
    IsolationPolicy isolation;
    std::uint8_t pdfFlags = 0;  // what kind of PDF every Export writes (PdfFlag bits)
};

class HelperProcess {
public:
    using Clock = std::chrono::steady_clock;

    // folder: the helper's own folder in the spool, removed when this object goes.
    HelperProcess(HelperCommand command, std::string folder, std::function<void()> onActivity);
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Queues a request (the helper reads it once it has started); its id, or 0 when the helper
    // can take no more. An answer nobody waits for is dropped when it arrives.
    std::uint32_t Send(Message request, bool answerWanted = true);
    // The answer to request id once it is there, or how the request ended without one;
    // nothing while it is still on its way.
    std::optional<Reply> Take(std::uint32_t id);

    // SIGKILL; every request in flight then ends with this reason. Never given work again.
    void Kill(const std::string& reason);
    // Asks the helper to end once it has answered what it was sent.
    void Retire();
    // Running, or still starting, and not told to die or retire.
    bool IsUsable() const;
    bool IsReady() const;
    bool IsGone() const;
    // When the helper said it was ready (the epoch while it has not).
    Clock::time_point ReadyAt() const;
    pid_t Pid() const;
    // What the helper last said it holds in memory.
    std::uint64_t ResidentBytes() const;
    // The most it was seen to hold, as it answered or as the pool looked.
    std::uint64_t PeakResidentBytes() const;
    void NoteResident(std::uint64_t bytes);
    // The time the helper has spent working on requests, summed.
    std::chrono::microseconds WorkTime() const;
    // Why it could not start, or the layers of isolation it runs without; empty when neither.
    std::string Note() const;
    // What its renderer is shut in, once it is ready.
    Isolation IsolationReached() const;
    // Answers kept for a Take that has not come yet, and requests whose answer is to be
    // dropped: what this object holds on to.
    std::size_t Unclaimed() const;
    const std::string& Folder() const { return folder_; }

private:
    void Spawn(int childEnd);
    void Receive();
    void Reap(pid_t pid);
    // Takes the helper's first message; false when the helper is of no use.
    bool TakeReady(const Message& ready);
    void Announce();

    HelperCommand command_;
    std::string folder_;
    std::function<void()> onActivity_;
    int socket_ = -1;
    mutable std::mutex mutex_;
    std::mutex sendMutex_;
    pid_t pid_ = -1;
    bool ready_ = false;
    bool gone_ = false;
    bool killed_ = false;   // told to die: by us, on a time limit or at shutdown
    bool retired_ = false;  // told to end once idle
    bool stoppedFromOutside_ = false;
    Isolation isolation_ = Isolation::None;
    std::string goneReason_;
    std::string note_;
    Clock::time_point readyAt_{};
    std::set<std::uint32_t> inFlight_;
    std::set<std::uint32_t> unwanted_;
    std::map<std::uint32_t, Message> answers_;
    std::uint32_t nextId_ = 1;
    std::uint64_t residentBytes_ = 0;
    std::uint64_t peakResidentBytes_ = 0;
    std::uint64_t workMicros_ = 0;
    std::thread reader_;
};

}  // namespace pendrel::office
