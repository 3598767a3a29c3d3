#pragma once
#include <functional>
#include <stop_token>
#include <thread>

namespace pendrel::programs {

// When the session asks the program to stop (SIGTERM, SIGINT, SIGHUP), runs end on the event
// loop, which ends the program the way closing its window does: a PDF being printed over is
// put back, the document engine stopped and its files removed.
void EndOnTerminationSignals(std::function<void()> end);

// For a program with no event loop: while it lives, SIGTERM, SIGINT and SIGHUP request stop
// of the source, from a thread of its own; the program then winds down as it sees fit.
class StopOnTerminationSignals {
public:
    explicit StopOnTerminationSignals(std::stop_source source);
    // Signals that come later are let pass.
    ~StopOnTerminationSignals();
    StopOnTerminationSignals(const StopOnTerminationSignals&) = delete;
    StopOnTerminationSignals& operator=(const StopOnTerminationSignals&) = delete;

private:
    int pipe_[2] = {-1, -1};
    std::jthread watcher_;
};

}  // namespace pendrel::programs
