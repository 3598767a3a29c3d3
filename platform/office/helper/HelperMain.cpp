// pendrel-office: the helper process that renders documents with LibreOffice for the window's
// process. It talks over the socket it inherits as fd 3, one request at a time, and never
// shows a window or asks anything.
//
//   pendrel-office <parent pid> <profile folder> <helper folder>
//
// The helper folder is its own, inside the window's spool: LibreOffice's temporary files go to
// its tmp/, the documents it is given are copied into it, and the PDFs it writes are written
// there.
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <string>

#include "platform/office/Protocol.h"
#include "platform/office/helper/LokSession.h"
#include "platform/office/helper/ProfileLock.h"
#include "platform/office/helper/ProfileSettings.h"
#include "platform/office/helper/Sandbox.h"

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
// Closed documents whose closing waits for an idle moment.
constexpr std::size_t MostKeptOpen = 1;

// Narrows what the helper can reach to what rendering needs; its temporary files go to its
// own folder. Why the sandbox could not be entered, or nothing.
std::string Confine(const std::string& profile, const std::string& helperFolder) {
    const std::string temporary = helperFolder + "/tmp";
    ::mkdir(temporary.c_str(), 0700);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    SandboxView view{helperFolder + "/root", {profile, helperFolder}, UserFontFolders()};
    return EnterSandbox(view);
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

// The documents open, by the id of the request that loaded them: the window names a document
// by that id, so it can ask for the print and the close before the load is answered.
using OpenDocuments = std::map<std::uint32_t, std::uint32_t>;

LokResult Handle(LokSession& session, OpenDocuments& open, const Message& request) {
    switch (request.kind) {
        case MessageKind::Load: {
            LokResult result = session.Load(request.text);
            if (result.outcome == Outcome::Ok) open[request.id] = result.docId;
            return result;
        }
        case MessageKind::Export: {
            const auto document = open.find(request.docId);
            if (document == open.end()) return {Outcome::Failed, 0, "the document is not open"};
            return session.Export(document->second, request.text);
        }
        default:
            return {Outcome::Failed, 0, "unknown request"};
    }
}

bool RequestWaiting(int socketFd) {
    pollfd socket{socketFd, POLLIN, 0};
    return ::poll(&socket, 1, 0) > 0;
}

int Serve(int socketFd, const std::string& profileFolder, const std::string& helperFolder) {
    // Headless drawing: no display is touched and no window can appear.
    ::setenv("SAL_USE_VCLPLUGIN", "svp", 1);
    std::string error;
    const std::string profile = LockProfile(profileFolder);
    const std::string unconfined = Confine(profile, helperFolder);
    std::unique_ptr<LokSession> session;
    if (WriteProfileSettings(profile, error))
        session = LokSession::Start(ProgramFolder, profile, error);
    Message ready;
    ready.kind = MessageKind::Ready;
    ready.id = ProtocolVersion;
    ready.outcome = session ? Outcome::Ok : Outcome::Failed;
    ready.text = session ? (unconfined.empty() ? "" : "not sandboxed: " + unconfined) : error;
    ready.residentBytes = ResidentBytes();
    if (!SendMessage(socketFd, ready) || !session) return 1;
    OpenDocuments open;
    std::deque<std::uint32_t> closing;
    // Reported with the next answer, so the window's side sees all the time spent.
    std::chrono::steady_clock::duration closeWork{};
    for (;;) {
        // Closing a document is left for a moment when nothing else is asked, so the next
        // document does not wait behind it; but never more than one is kept open that way.
        if (!closing.empty() && (closing.size() > MostKeptOpen || !RequestWaiting(socketFd))) {
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
            if (const auto document = open.find(request->docId); document != open.end()) {
                closing.push_back(document->second);
                open.erase(document);
            }
        } else {
            result = Handle(*session, open, *request);
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
    if (argc != 4) return 2;
    // Die with the window's process; the check catches a parent that died before prctl.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != static_cast<pid_t>(std::atoll(argv[1]))) return 3;
    int socketFd = pendrel::office::TakeSocket();
    if (socketFd < 0) return 4;
    std::_Exit(pendrel::office::Serve(socketFd, argv[2], argv[3]));
}
