#include "platform/office/pool/HelperProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/office/OfficeLimits.h"

namespace pendrel::office {

IsolationPolicy WarningOnce(IsolationPolicy policy) {
    if (auto& warn = policy.onUnisolated)
        warn = [said = std::make_shared<std::atomic<bool>>(false),
                once = std::move(warn)](const std::string& missing) {
            if (!said->exchange(true)) once(missing);
        };
    return policy;
}
namespace {

// After fork in a threaded process: only async-signal-safe calls until exec.
[[noreturn]] void ExecHelper(int childEnd, const std::vector<char*>& argv) {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    // A group of its own: Ctrl+C on a terminal reaches only the program, which abandons the
    // document in hand and ends its helpers itself. The parent-death signal still ends a
    // helper whose program is gone.
    ::setpgid(0, 0);
    if (childEnd == 3) {
        ::fcntl(3, F_SETFD, 0);
    } else {
        ::dup2(childEnd, 3);
    }
    ::close_range(4, ~0u, 0);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// The signals a process raises on itself when it fails, as opposed to those sent to it.
bool IsCrash(int signal) {
    for (int crash : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGSYS, SIGTRAP})
        if (signal == crash) return true;
    return false;
}

}  // namespace

HelperProcess::HelperProcess(HelperCommand command, std::string folder,
                             std::function<void()> onActivity)
    : command_(std::move(command)), folder_(std::move(folder)), onActivity_(std::move(onActivity)) {
    int ends[2];
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
    Retire();
    // A helper asked to end leaves at once when idle; one still busy is not waited for long.
    const auto deadline = Clock::now() + HelperEndGrace;
    while (!IsGone() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Kill("the document engine was shut down");
    if (reader_.joinable()) reader_.join();
    if (socket_ >= 0) ::close(socket_);
    // Its temporary files and the copies it was given go with it.
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

void HelperProcess::Spawn(int childEnd) {
    std::vector<std::string> args{command_.executable, std::to_string(::getpid()),
                                  command_.profileFolder, folder_};
    if (command_.isolation.allowUnisolated) args.emplace_back("--allow-unisolated");
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
            // Not every answer carries a reading of the helper's memory: none is 0.
            if (message->residentBytes != 0) {
                residentBytes_ = message->residentBytes;
                peakResidentBytes_ = std::max(peakResidentBytes_, residentBytes_);
            }
            workMicros_ += message->workMicros;
            if (message->kind == MessageKind::Ready) {
                if (!TakeReady(*message)) break;
            } else if (message->kind == MessageKind::Answer) {
                inFlight_.erase(message->id);
                if (unwanted_.erase(message->id) == 0) answers_[message->id] = std::move(*message);
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
    if (pid > 0) Reap(pid);
    {
        std::lock_guard lock(mutex_);
        gone_ = true;
        pid_ = -1;
        inFlight_.clear();
        unwanted_.clear();
    }
    Announce();
}

bool HelperProcess::TakeReady(const Message& ready) {
    if (ready.id != ProtocolVersion) {
        goneReason_ =
            "the document engine (pendrel-office) is of another version (it speaks protocol " +
            std::to_string(ready.id) + ", this program " + std::to_string(ProtocolVersion) +
            "); install Pendrel again";
        return false;
    }
    const IsolationPolicy& policy = command_.isolation;
    // The helper refuses on its own; a helper that did not is refused here all the same.
    if (ready.isolation == Isolation::None && !policy.allowUnisolated) {
        goneReason_ = "it cannot shut documents off from the rest of the system (" + ready.text +
                      "), and documents are not rendered without that";
        if (!policy.howToAllow.empty()) goneReason_ += "; " + policy.howToAllow;
        return false;
    }
    ready_ = ready.outcome == Outcome::Ok;
    readyAt_ = Clock::now();
    isolation_ = ready.isolation;
    if (!ready_) {
        goneReason_ = "the document engine could not start: " + ready.text;
        return false;
    }
    note_ = ready.text;
    if (isolation_ == Isolation::None && policy.onUnisolated) policy.onUnisolated(note_);
    return true;
}

void HelperProcess::Reap(pid_t pid) {
    // The pid stays ours until reaped here, so a kill cannot hit another process. A helper
    // that was asked to end gets its grace time in the destructor; one whose socket closed on
    // its own is given a moment to finish dying, so that its cause of death can be read.
    int status = 0;
    pid_t done;
    const auto moment = Clock::now() + std::chrono::milliseconds(500);
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0) {
        {
            std::lock_guard lock(mutex_);
            if (killed_ || (!retired_ && Clock::now() > moment)) break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const bool killedHere = done == 0;
    if (killedHere) {
        ::kill(pid, SIGKILL);
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }
    std::lock_guard lock(mutex_);
    if (killed_ || killedHere) return;
    if (!WIFSIGNALED(status)) return;
    const int signal = WTERMSIG(status);
    if (IsCrash(signal)) {
        goneReason_ = "the document engine crashed (signal " + std::to_string(signal) + ")";
        return;
    }
    // A signal that we did not send: the system took the helper away (SIGKILL, most likely
    // for memory) or someone ended it.
    stoppedFromOutside_ = true;
    goneReason_ = signal == SIGKILL
                      ? "the document engine was stopped from outside (the system may be short "
                        "of memory)"
                      : "the document engine was stopped from outside (signal " +
                            std::to_string(signal) + ")";
}

void HelperProcess::Announce() {
    if (onActivity_) onActivity_();
}

std::uint32_t HelperProcess::Send(Message request, bool answerWanted) {
    {
        std::lock_guard lock(mutex_);
        if (gone_ || killed_) return 0;
        request.id = nextId_++;
        if (request.kind == MessageKind::Export) request.pdfFlags = command_.pdfFlags;
        inFlight_.insert(request.id);
        if (!answerWanted) unwanted_.insert(request.id);
    }
    std::lock_guard sending(sendMutex_);
    // A failed write means the helper has gone; the reader notices and fails the request.
    SendMessage(socket_, request);
    return request.id;
}

std::optional<Reply> HelperProcess::Take(std::uint32_t id) {
    std::lock_guard lock(mutex_);
    if (auto it = answers_.find(id); it != answers_.end()) {
        Reply reply{Reply::Status::Answered, std::move(it->second), {}};
        answers_.erase(it);
        return reply;
    }
    if (id != 0 && !gone_) return std::nullopt;
    // A helper that never said it was ready failed to start; no document did that.
    Reply::Status status = !ready_               ? Reply::Status::NotStarted
                           : stoppedFromOutside_ ? Reply::Status::EngineStopped
                                                 : Reply::Status::HelperLost;
    return Reply{status, {}, goneReason_};
}

void HelperProcess::Kill(const std::string& reason) {
    std::lock_guard lock(mutex_);
    if (gone_) return;
    if (!killed_ && goneReason_.empty()) goneReason_ = reason;
    killed_ = true;
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    if (socket_ >= 0) ::shutdown(socket_, SHUT_RDWR);
}

void HelperProcess::Retire() {
    std::lock_guard lock(mutex_);
    if (retired_ || gone_) return;
    retired_ = true;
    // The helper reads the end of its requests once it has answered all of them, and leaves.
    if (socket_ >= 0) ::shutdown(socket_, SHUT_WR);
}

bool HelperProcess::IsUsable() const {
    std::lock_guard lock(mutex_);
    return !gone_ && !killed_ && !retired_;
}

bool HelperProcess::IsReady() const {
    std::lock_guard lock(mutex_);
    return ready_ && !gone_;
}

bool HelperProcess::IsGone() const {
    std::lock_guard lock(mutex_);
    return gone_;
}

HelperProcess::Clock::time_point HelperProcess::ReadyAt() const {
    std::lock_guard lock(mutex_);
    return readyAt_;
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

std::string HelperProcess::Note() const {
    std::lock_guard lock(mutex_);
    return ready_ ? note_ : goneReason_;
}

Isolation HelperProcess::IsolationReached() const {
    std::lock_guard lock(mutex_);
    return isolation_;
}

std::uint64_t HelperProcess::PeakResidentBytes() const {
    std::lock_guard lock(mutex_);
    return peakResidentBytes_;
}

void HelperProcess::NoteResident(std::uint64_t bytes) {
    std::lock_guard lock(mutex_);
    peakResidentBytes_ = std::max(peakResidentBytes_, bytes);
}

std::size_t HelperProcess::Unclaimed() const {
    std::lock_guard lock(mutex_);
    return answers_.size() + unwanted_.size();
}

}  // namespace pendrel::office
