// A stand-in for pendrel-office that speaks its protocol without LibreOffice, so the pool's
// rules can be tested quickly and exactly. The documents are rich text, which the pool lets
// through, and what it does with one depends on its first line after "{\rtf1 ":
//   "slow <ms>"  waits that long before printing it
//   "hang"       never answers the print
//   "crash"      dies of SIGSEGV on the print
//   "swell <MB>" takes that much memory on the print, then never answers
//   "orphan"     leaves a child holding the socket for 3 s, then dies: killed, never reaped
//   "big"        says from its print on that it holds 2 GB
//   anything else: loads it and prints a small PDF of its text
// Every load is logged as "<pid> <first line>" to the file FAKE_OFFICE_LOG names, if any.
// FAKE_OFFICE_PROTOCOL makes it announce another protocol version; FAKE_OFFICE_ISOLATION
// another isolation than namespaces (0 none, 1 Landlock), as if it had started so.
//
//   fake-pendrel-office <parent pid> <profile folder> <helper folder> [--allow-unisolated]
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>

#include "platform/office/protocol/Protocol.h"

using namespace pendrel::office;

namespace {

std::string FirstLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    const std::string rtf = "{\\rtf1 ";
    return line.starts_with(rtf) ? line.substr(rtf.size()) : line;
}

void Log(const std::string& line) {
    if (const char* log = std::getenv("FAKE_OFFICE_LOG"))
        std::ofstream(log, std::ios::app) << ::getpid() << " " << line << "\n";
}

std::uint64_t resident = 0;  // what the answers say the helper holds

Message AnswerTo(const Message& request, Outcome outcome, std::uint32_t docId = 0) {
    Message answer;
    answer.kind = MessageKind::Answer;
    answer.id = request.id;
    answer.docId = docId;
    answer.outcome = outcome;
    answer.workMicros = 1000;
    // Like the real helper, not every answer carries a reading of its memory.
    answer.residentBytes = request.kind == MessageKind::Export ? resident : 0;
    return answer;
}

}  // namespace

int main(int argc, char**) {
    if (argc != 4 && argc != 5) return 2;  // the fifth: --allow-unisolated
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    const int fd = 3;
    Message ready;
    ready.kind = MessageKind::Ready;
    const char* protocol = std::getenv("FAKE_OFFICE_PROTOCOL");
    ready.id = protocol ? static_cast<std::uint32_t>(std::atoi(protocol)) : ProtocolVersion;
    const char* isolation = std::getenv("FAKE_OFFICE_ISOLATION");
    ready.isolation =
        isolation ? static_cast<Isolation>(std::atoi(isolation)) : Isolation::Namespaces;
    if (isolation) ready.text = "namespaces: left out";
    if (!SendMessage(fd, ready)) return 1;
    std::map<std::uint32_t, std::string> open;  // load request id -> the copy's first line
    while (auto request = ReceiveMessage(fd)) {
        if (request->kind == MessageKind::Load) {
            const std::string line = FirstLine(request->text);
            Log(line);
            if (line == "orphan") {
                if (::fork() == 0) {
                    ::setsid();
                    std::this_thread::sleep_for(std::chrono::seconds(3));
                    std::_Exit(0);
                }
                ::kill(::getpid(), SIGKILL);
            }
            ::unlink(request->text.c_str());
            open[request->id] = line;
            SendMessage(fd, AnswerTo(*request, Outcome::Ok, request->id));
        } else if (request->kind == MessageKind::Export) {
            const auto document = open.find(request->docId);
            if (document == open.end()) {
                SendMessage(fd, AnswerTo(*request, Outcome::Failed));
                continue;
            }
            const std::string& line = document->second;
            if (line == "crash") {
                // A crash as LibreOffice's would be: not caught by a sanitizer's handler.
                ::signal(SIGSEGV, SIG_DFL);
                ::raise(SIGSEGV);
            }
            if (line.rfind("swell ", 0) == 0) {
                const std::size_t bytes = std::stoul(line.substr(6)) << 20;
                std::memset(new char[bytes], 1, bytes);
                std::this_thread::sleep_for(std::chrono::hours(1));
            }
            if (line == "hang") std::this_thread::sleep_for(std::chrono::hours(1));
            if (line.rfind("slow ", 0) == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(line.c_str() + 5)));
            std::ofstream(request->text) << "%PDF-1.4 " << line << "\n";
            if (line == "big") resident = 2ull << 30;
            SendMessage(fd, AnswerTo(*request, Outcome::Ok));
        } else {
            open.erase(request->docId);
            SendMessage(fd, AnswerTo(*request, Outcome::Ok));
        }
    }
    return 0;
}
