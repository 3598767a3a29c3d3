// pendrel-office: the helper process that renders documents with LibreOffice for the window's
// process. It talks over the socket it inherits as fd 3, one request at a time, and never
// shows a window or asks anything.
//
//   pendrel-office <parent pid> <profile folder> <helper folder> [--allow-unisolated]
//
// The helper folder is its own, inside the window's spool: LibreOffice's temporary files go to
// its tmp/, the documents it is given are copied into it, and the PDFs it writes are written
// there. Without --allow-unisolated, a helper that cannot isolate its renderer (Isolation.h)
// does not start it.
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/office/helper/Isolation.h"
#include "platform/office/helper/LokSession.h"
#include "platform/office/helper/ProfileLock.h"
#include "platform/office/helper/ProfileSettings.h"
#include "platform/office/process/ProcessStatus.h"
#include "platform/office/protocol/Protocol.h"

namespace pendrel::office {
namespace {

// The socket arrives as fd 3; it is moved out of the way of the low numbers LibreOffice
// reuses, and kept from the processes LibreOffice may start.
constexpr int InheritedSocketFd = 3;
constexpr int SocketFdFloor = 100;

int TakeSocket() {
    int fd = ::fcntl(InheritedSocketFd, F_DUPFD_CLOEXEC, SocketFdFloor);
    ::close(InheritedSocketFd);
    return fd;
}
constexpr const char* ProgramFolder = "/usr/lib/libreoffice/program";
constexpr std::string_view AllowUnisolatedOption = "--allow-unisolated";

// Narrows what the helper can reach to what rendering needs; its temporary files go to its
// own folder.
IsolationReached Confine(const std::string& profile, const std::string& helperFolder) {
    const std::string temporary = helperFolder + "/tmp";
    ::mkdir(temporary.c_str(), 0700);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    // Where desktop settings (dconf) keep their state: the user's own is out of reach.
    ::setenv("XDG_RUNTIME_DIR", temporary.c_str(), 1);
    return Isolate(profile, helperFolder);
}

using Clock = std::chrono::steady_clock;

// The answer to request, with the time spent since started; the memory held is read only when
// asked for, since reading it takes a pause (see AnswerWriter).
Message Answer(const Message& request, const RenderResult& result, Clock::time_point started,
               bool withMemory) {
    Message answer;
    answer.kind = MessageKind::Answer;
    answer.id = request.id;
    answer.docId = result.docId;
    answer.outcome = result.outcome;
    answer.text = result.detail;
    answer.pages = result.pages;
    answer.residentBytes = withMemory ? OwnResidentBytes() : 0;
    answer.workMicros = static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started).count());
    return answer;
}

// The requests from the window, read ahead when more are waiting, so that the print of a
// document can be taken up together with its load.
class Requests {
public:
    explicit Requests(int socketFd) : socket_(socketFd) {}

    std::optional<Message> Next() {
        if (!waiting_.empty()) {
            Message next = std::move(waiting_.front());
            waiting_.pop_front();
            return next;
        }
        return ReceiveMessage(socket_);
    }
    // The next request when it is waiting and is of this kind, for the document that load
    // request loadId loads.
    std::optional<Message> Following(MessageKind kind, std::uint32_t loadId) {
        if (waiting_.empty()) ReadWaiting();
        if (waiting_.empty() || waiting_.front().kind != kind || waiting_.front().docId != loadId)
            return std::nullopt;
        Message next = std::move(waiting_.front());
        waiting_.pop_front();
        return next;
    }

private:
    void ReadWaiting() {
        pollfd socket{socket_, POLLIN, 0};
        while (::poll(&socket, 1, 0) > 0 && (socket.revents & POLLIN)) {
            auto message = ReceiveMessage(socket_);
            if (!message) return;  // the end is read again by Next
            waiting_.push_back(std::move(*message));
        }
    }

    int socket_;
    std::deque<Message> waiting_;
};

// The documents open, by the id of the request that loaded them: the window names a document
// by that id, so it can ask for the print and the close before the load is answered.
using OpenDocuments = std::map<std::uint32_t, std::uint32_t>;

RenderResult Print(Renderer& session, const OpenDocuments& open, const Message& request) {
    const auto document = open.find(request.docId);
    if (document == open.end()) return {Outcome::Failed, 0, "the document is not open"};
    return session.Export(document->second, request.text, request.pdfFlags);
}

RenderResult Close(Renderer& session, OpenDocuments& open, const Message& request) {
    if (const auto document = open.find(request.docId); document != open.end()) {
        session.Close(document->second);
        open.erase(document);
    }
    return {Outcome::Ok, request.docId, {}};
}

// Answers go out from a thread of their own. Between loading a document and printing it,
// LibreOffice's own main loop would take any pause of this thread to build the document
// window's user interface, which a document that is only printed never needs; writing to the
// window's process here would make such a pause.
class AnswerWriter {
public:
    static constexpr std::chrono::milliseconds LookInterval{5};

    explicit AnswerWriter(int socketFd) : socket_(socketFd), thread_([this] { Run(); }) {}
    ~AnswerWriter() {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        ready_.notify_all();
        thread_.join();
    }

    // False once the window's process can no longer be written to.
    bool Send(Message answer) {
        {
            std::lock_guard lock(mutex_);
            if (broken_) return false;
            queue_.push_back(std::move(answer));
            looking_ = false;
        }
        ready_.notify_all();
        return true;
    }
    // Answers of a batch will come by Queue until its last comes by Send: the writer looks for
    // them every LookInterval meanwhile, and sleeps until woken otherwise.
    void ExpectQueuedAnswers() {
        {
            std::lock_guard lock(mutex_);
            looking_ = true;
        }
        ready_.notify_all();
    }
    // The same as Send without waking the writer, which is a pause of this thread: the answer
    // goes out at the writer's next look, a few milliseconds later at most.
    bool Queue(Message answer) {
        std::lock_guard lock(mutex_);
        if (broken_) return false;
        queue_.push_back(std::move(answer));
        return true;
    }

private:
    void Run() {
        std::unique_lock lock(mutex_);
        const auto wanted = [this] { return done_ || !queue_.empty(); };
        for (;;) {
            if (looking_)
                ready_.wait_for(lock, LookInterval, wanted);
            else
                ready_.wait(lock, [&] { return wanted() || looking_; });
            if (done_ && queue_.empty()) return;
            if (queue_.empty()) continue;
            Message answer = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            const bool sent = SendMessage(socket_, answer);
            lock.lock();
            if (!sent) broken_ = true;
        }
    }

    int socket_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Message> queue_;
    bool done_ = false;
    bool broken_ = false;
    bool looking_ = false;
    std::thread thread_;
};

// Without isolation LibreOffice is not started unless allowed: the answer then names what is
// missing, and the window says so.
int Serve(int socketFd, const std::string& profileFolder, const std::string& helperFolder,
          bool allowUnisolated) {
    // Headless drawing: no display is touched and no window can appear.
    ::setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    std::string error;
    const std::string profile = LockProfile(profileFolder);
    const IsolationReached isolation = Confine(profile, helperFolder);
    std::unique_ptr<Renderer> session;
    if (isolation.level == Isolation::None && !allowUnisolated)
        error = isolation.missing;
    else if (WriteProfileSettings(profile, error))
        session = LokSession::Start(ProgramFolder, profile, error);
    Message ready;
    ready.kind = MessageKind::Ready;
    ready.id = ProtocolVersion;
    ready.outcome = session ? Outcome::Ok : Outcome::Failed;
    ready.isolation = isolation.level;
    ready.text = session ? isolation.missing : error;
    ready.residentBytes = OwnResidentBytes();
    if (!SendMessage(socketFd, ready) || !session) return 1;
    OpenDocuments open;
    AnswerWriter writer(socketFd);
    Requests requests(socketFd);
    while (auto request = requests.Next()) {
        // The window asks for a document's print and close with its load: they are done
        // straight after it, with no pause in between (see AnswerWriter), and only the last
        // answer wakes the writer.
        std::vector<Message> batch{std::move(*request)};
        if (batch.front().kind == MessageKind::Load) {
            const std::uint32_t loadId = batch.front().id;
            if (auto print = requests.Following(MessageKind::Export, loadId))
                batch.push_back(std::move(*print));
            if (auto close = requests.Following(MessageKind::Close, loadId))
                batch.push_back(std::move(*close));
        }
        if (batch.size() > 1) writer.ExpectQueuedAnswers();
        bool writable = true;
        for (std::size_t i = 0; i < batch.size() && writable; ++i) {
            const Message& each = batch[i];
            const auto started = Clock::now();
            RenderResult result{Outcome::Failed, 0, "unknown request"};
            if (each.kind == MessageKind::Load) {
                result = session->Load(each.text);
                if (result.outcome == Outcome::Ok) open[each.id] = result.docId;
            } else if (each.kind == MessageKind::Export) {
                result = Print(*session, open, each);
            } else if (each.kind == MessageKind::Close) {
                result = Close(*session, open, each);
            }
            const bool last = i + 1 == batch.size();
            Message answer = Answer(each, result, started, last);
            writable = last ? writer.Send(std::move(answer)) : writer.Queue(std::move(answer));
        }
        if (!writable) break;
    }
    // The window's process has gone or closed the socket. Leaving at once skips LibreOffice's
    // slow shutdown; nothing of ours needs saving.
    return 0;
}

}  // namespace
}  // namespace pendrel::office

int main(int argc, char** argv) {
    const bool allowUnisolated = argc == 5 && argv[4] == pendrel::office::AllowUnisolatedOption;
    if (argc != 4 && !allowUnisolated) return 2;
    // Die with the window's process; the check catches a parent that died before prctl.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != static_cast<pid_t>(std::atoll(argv[1]))) return 3;
    int socketFd = pendrel::office::TakeSocket();
    if (socketFd < 0) return 4;
    std::_Exit(pendrel::office::Serve(socketFd, argv[2], argv[3], allowUnisolated));
}
