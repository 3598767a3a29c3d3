#include "programs/linux/TerminationSignals.h"

#include <sys/socket.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>

namespace pendrel::programs {
namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

int signalPipe[2] = {-1, -1};

// A signal handler may do almost nothing: it hands the signal on through the pipe.
void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void HandleSignals() {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : Signals) ::sigaction(signal, &action, nullptr);
}

}  // namespace

void EndOnTerminationSignals(std::function<void()> end) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) return;
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [end = std::move(end)] { end(); });
    HandleSignals();
}

StopOnTerminationSignals::StopOnTerminationSignals(std::stop_source source) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pipe_) != 0) return;
    signalPipe[1] = pipe_[1];
    // A byte of 0 is this object going; anything else is a signal.
    watcher_ = std::jthread([source, fd = pipe_[0]]() mutable {
        char byte = 0;
        while (::read(fd, &byte, 1) == 1 && byte != 0) source.request_stop();
    });
    HandleSignals();
}

StopOnTerminationSignals::~StopOnTerminationSignals() {
    if (pipe_[0] < 0) return;
    // Signals from here on are let pass: the program is ending already.
    signalPipe[1] = -1;
    const char end = 0;
    [[maybe_unused]] const auto written = ::write(pipe_[1], &end, 1);
    watcher_.join();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

}  // namespace pendrel::programs
