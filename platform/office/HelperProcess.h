#pragma once
// One running pendrel-office helper, seen from the window's process: it is started in the
// background, answers requests in the order they were sent, and is killed and reaped when
// this object goes (or on Kill). A reader thread receives its answers; every arrival, and
// the helper's end, is announced through onActivity so a waiter can look at once.
#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/office/Protocol.h"

namespace pendrel::office {

struct HelperCommand {
    std::string executable;     // the pendrel-office program
    std::string profileFolder;  // empty: the helper's own default under the user's cache
};

// How a request ended, seen from the window's side.
struct Reply {
    enum class Status { Answered, NotStarted, HelperLost, TimedOut, Stopped };
    Status status = Status::Answered;
    Message answer;      // when Answered
    std::string detail;  // why the helper was lost
};

class HelperProcess {
public:
    using Clock = std::chrono::steady_clock;

    HelperProcess(HelperCommand command, std::function<void()> onActivity);
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    // Queues a request (the helper reads it once it has started); its id, or 0 when the helper
    // has already gone.
    std::uint32_t Send(Message request);

    using SleepSlice = std::function<void(std::chrono::milliseconds)>;
    // Waits for the answer to request id. sleepSlice(slice) must return after at most slice,
    // or earlier once onActivity has been called; without one the wait sleeps on this
    // object's own signal (for threads that have no window messages to handle). The limit
    // counts from the later of the sending and the helper's start; a helper that overruns it
    // (or does not start in time) is killed. stop ends the wait early with Stopped, leaving
    // the request in flight.
    Reply Wait(std::uint32_t id, std::chrono::milliseconds limit, const SleepSlice& sleepSlice,
               std::stop_token stop = {});

    // SIGKILL; every request in flight then ends as HelperLost with this reason.
    void Kill(const std::string& reason);
    bool IsGone() const;
    pid_t Pid() const;
    std::uint64_t ResidentBytes() const;
    // The time the helper has spent working on requests, summed.
    std::chrono::microseconds WorkTime() const;

private:
    void Run();
    void Spawn(int childEnd);
    void Receive();
    void Announce();
    bool TimedOut(std::uint32_t id, std::chrono::milliseconds limit, std::string& why) const;

    HelperCommand command_;
    std::function<void()> onActivity_;
    int socket_ = -1;
    mutable std::mutex mutex_;
    std::condition_variable_any activity_;
    std::mutex sendMutex_;
    std::uint64_t activityCount_ = 0;
    pid_t pid_ = -1;
    bool ready_ = false;
    bool gone_ = false;
    std::string goneReason_;
    Clock::time_point startedAt_;
    Clock::time_point readyAt_;
    std::map<std::uint32_t, Clock::time_point> inFlight_;
    std::map<std::uint32_t, Message> answers_;
    std::uint32_t nextId_ = 1;
    std::uint64_t residentBytes_ = 0;
    std::uint64_t workMicros_ = 0;
    std::thread reader_;
};

}  // namespace pendrel::office
