#include "platform/office/HelperProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "platform/office/OfficeLimits.h"

namespace pendrel::office {
namespace {

std::string Seconds(std::chrono::milliseconds limit) {
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(limit).count());
}

// After fork in a threaded process: only async-signal-safe calls until exec.
[[noreturn]] void ExecHelper(int childEnd, const std::vector<char*>& argv) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    if (childEnd == 3) {
        ::fcntl(3, F_SETFD, 0);
    } else {
        ::dup2(childEnd, 3);
    }
    ::close_range(4, ~0u, 0);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

}  // namespace

HelperProcess::HelperProcess(HelperCommand command, std::function<void()> onActivity)
    : command_(std::move(command)), onActivity_(std::move(onActivity)) {
    int ends[2];
    startedAt_ = Clock::now();
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        gone_ = true;
        goneReason_ = "the document engine could not be started (no socket)";
        return;
    }
    socket_ = ends[0];
    // The helper is started from the reader thread because its parent-death signal follows
    // the thread that forked it, and this thread lives exactly as long as the helper.
    reader_ = std::thread([this, child = ends[1]] {
        Spawn(child);
        Receive();
    });
}

HelperProcess::~HelperProcess() {
    Kill("the document engine was shut down");
    if (reader_.joinable()) reader_.join();
    if (socket_ >= 0) ::close(socket_);
}

void HelperProcess::Spawn(int childEnd) {
    std::string parent = std::to_string(::getpid());
    std::vector<std::string> args{command_.executable, parent};
    if (!command_.profileFolder.empty()) args.push_back(command_.profileFolder);
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);

    pid_t pid = ::access(argv[0], X_OK) == 0 ? ::fork() : -1;
    if (pid == 0) ExecHelper(childEnd, argv);
    ::close(childEnd);
    std::lock_guard lock(mutex_);
    pid_ = pid;
    if (pid < 0) {
        goneReason_ = "the document engine could not be started (" + command_.executable + ")";
        ::shutdown(socket_, SHUT_RDWR);
    }
}

void HelperProcess::Receive() {
    while (auto message = ReceiveMessage(socket_)) {
        {
            std::lock_guard lock(mutex_);
            residentBytes_ = message->residentBytes;
            workMicros_ += message->workMicros;
            if (message->kind == MessageKind::Ready) {
                ready_ = message->outcome == Outcome::Ok;
                readyAt_ = Clock::now();
                if (!ready_) goneReason_ = "the document engine could not start: " + message->text;
            } else if (message->kind == MessageKind::Answer) {
                inFlight_.erase(message->id);
                answers_[message->id] = std::move(*message);
            }
        }
        Announce();
    }
    pid_t pid;
    {
        std::lock_guard lock(mutex_);
        if (goneReason_.empty())
            goneReason_ = ready_ ? "the document engine stopped unexpectedly"
                                 : "the document engine could not be started";
        pid = pid_;
    }
    if (pid > 0) {
        // The pid stays ours until reaped here, so this kill cannot hit another process.
        ::kill(pid, SIGKILL);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    {
        std::lock_guard lock(mutex_);
        gone_ = true;
        pid_ = -1;
    }
    Announce();
}

void HelperProcess::Announce() {
    {
        std::lock_guard lock(mutex_);
        ++activityCount_;
    }
    activity_.notify_all();
    if (onActivity_) onActivity_();
}

std::uint32_t HelperProcess::Send(Message request) {
    {
        std::lock_guard lock(mutex_);
        if (gone_) return 0;
        request.id = nextId_++;
        inFlight_[request.id] = Clock::now();
    }
    std::lock_guard sending(sendMutex_);
    // A failed write means the helper has gone; the reader notices and fails the request.
    SendMessage(socket_, request);
    return request.id;
}

bool HelperProcess::TimedOut(std::uint32_t id, std::chrono::milliseconds limit,
                             std::string& why) const {
    auto now = Clock::now();
    if (!ready_) {
        why = "the document engine did not start within " + Seconds(HelperStartLimit) + " s";
        return now - startedAt_ > HelperStartLimit;
    }
    auto sent = inFlight_.count(id) ? inFlight_.at(id) : now;
    why = "it took longer than " + Seconds(limit) + " s";
    return now > std::max(sent, readyAt_) + limit;
}

Reply HelperProcess::Wait(std::uint32_t id, std::chrono::milliseconds limit,
                          const SleepSlice& sleepSlice, std::stop_token stop) {
    std::unique_lock lock(mutex_);
    for (;;) {
        if (auto it = answers_.find(id); it != answers_.end()) {
            Reply reply{Reply::Status::Answered, std::move(it->second), {}};
            answers_.erase(it);
            return reply;
        }
        if (gone_ || id == 0) {
            // A helper that never said it was ready failed to start; no document did that.
            return {
                ready_ ? Reply::Status::HelperLost : Reply::Status::NotStarted, {}, goneReason_};
        }
        std::string why;
        if (TimedOut(id, limit, why)) {
            lock.unlock();
            Kill(why);
            return {Reply::Status::TimedOut, {}, why};
        }
        if (stop.stop_requested()) return {Reply::Status::Stopped, {}, {}};
        if (sleepSlice) {
            lock.unlock();
            sleepSlice(WaitSlice);
            lock.lock();
        } else {
            auto seen = activityCount_;
            activity_.wait_for(lock, stop, WaitSlice, [&] { return activityCount_ != seen; });
        }
    }
}

void HelperProcess::Kill(const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (gone_) return;
    if (goneReason_.empty()) goneReason_ = reason;
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    if (socket_ >= 0) ::shutdown(socket_, SHUT_RDWR);
}

bool HelperProcess::IsGone() const {
    std::lock_guard lock(mutex_);
    return gone_;
}

std::chrono::microseconds HelperProcess::WorkTime() const {
    std::lock_guard lock(mutex_);
    return std::chrono::microseconds(workMicros_);
}

pid_t HelperProcess::Pid() const {
    std::lock_guard lock(mutex_);
    return pid_;
}

std::uint64_t HelperProcess::ResidentBytes() const {
    std::lock_guard lock(mutex_);
    return residentBytes_;
}

}  // namespace pendrel::office
