// pendrel-office: the helper process that renders documents with LibreOffice for the window's
// process. It talks over the socket it inherits as fd 3, one request at a time, and never
// shows a window or asks anything.
//
//   pendrel-office <parent pid> [<profile folder>]
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <string>

#include "platform/office/Protocol.h"
#include "platform/office/helper/LokSession.h"
#include "platform/office/helper/ProfileLock.h"

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

// Our own profile, never the user's LibreOffice profile; it is kept between runs because a
// fresh one costs seconds at start-up.
std::string DefaultProfileFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/pendrel/office-profile";
    const char* home = std::getenv("HOME");
    std::string base = home != nullptr && home[0] == '/' ? home : "/tmp";
    return base + "/.cache/pendrel/office-profile";
}

std::uint64_t ResidentBytes() {
    std::ifstream statm("/proc/self/statm");
    std::uint64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

Message Answer(const Message& request, const LokResult& result) {
    Message answer;
    answer.kind = MessageKind::Answer;
    answer.id = request.id;
    answer.docId = result.docId;
    answer.outcome = result.outcome;
    answer.text = result.detail;
    answer.residentBytes = ResidentBytes();
    return answer;
}

LokResult Handle(LokSession& session, const Message& request) {
    switch (request.kind) {
        case MessageKind::Load:
            return session.Load(request.text);
        case MessageKind::Export:
            return session.Export(request.docId, request.text);
        default:
            return {Outcome::Failed, 0, "unknown request"};
    }
}

bool RequestWaiting(int socketFd) {
    pollfd socket{socketFd, POLLIN, 0};
    return ::poll(&socket, 1, 0) > 0;
}

int Serve(int socketFd, const std::string& profileFolder) {
    // Headless drawing: no display is touched and no window can appear.
    ::setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    std::string error;
    auto session = LokSession::Start(ProgramFolder, LockProfile(profileFolder), error);
    Message ready;
    ready.kind = MessageKind::Ready;
    ready.outcome = session ? Outcome::Ok : Outcome::Failed;
    ready.text = error;
    ready.residentBytes = ResidentBytes();
    if (!SendMessage(socketFd, ready) || !session) return 1;
    std::deque<std::uint32_t> closing;
    // Reported with the next answer, so the window's side sees all the time spent.
    std::chrono::steady_clock::duration closeWork{};
    for (;;) {
        // Closing a document takes LibreOffice a good part of a second; it is done while
        // nothing else is asked, so the next document does not wait behind it.
        if (!closing.empty() && !RequestWaiting(socketFd)) {
            auto started = std::chrono::steady_clock::now();
            session->Close(closing.front());
            closing.pop_front();
            closeWork += std::chrono::steady_clock::now() - started;
            continue;
        }
        auto request = ReceiveMessage(socketFd);
        if (!request) break;
        auto started = std::chrono::steady_clock::now();
        LokResult result{Outcome::Ok, request->docId, {}};
        if (request->kind == MessageKind::Close) {
            closing.push_back(request->docId);
        } else {
            result = Handle(*session, *request);
        }
        Message answer = Answer(*request, result);
        answer.workMicros =
            static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                           std::chrono::steady_clock::now() - started + closeWork)
                                           .count());
        closeWork = {};
        if (!SendMessage(socketFd, answer)) break;
    }
    // The window's process has gone or closed the socket. Leaving at once skips LibreOffice's
    // slow shutdown; nothing of ours needs saving.
    return 0;
}

}  // namespace
}  // namespace pendrel::office

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    // Die with the window's process; the check catches a parent that died before prctl.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != static_cast<pid_t>(std::atoll(argv[1]))) return 3;
    std::string profile = argc > 2 ? argv[2] : pendrel::office::DefaultProfileFolder();
    int socketFd = pendrel::office::TakeSocket();
    if (socketFd < 0) return 4;
    std::_Exit(pendrel::office::Serve(socketFd, profile));
}
