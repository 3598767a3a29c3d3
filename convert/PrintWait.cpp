#include "convert/PrintWait.h"

#include <algorithm>

namespace pendrel::PrintWait {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Each check of the output reads the printer's status from Word: look less often.
constexpr milliseconds OutputPollSlice{50};

milliseconds Remaining(Clock::time_point deadline) {
    return std::max(milliseconds(0), std::chrono::ceil<milliseconds>(deadline - Clock::now()));
}

}  // namespace

Text DescribeLimit(milliseconds limit) {
    if (limit.count() % 1000 == 0) {
        const auto seconds = limit.count() / 1000;
        return std::to_string(seconds) + (seconds == 1 ? " second" : " seconds");
    }
    return std::to_string(limit.count()) + " milliseconds";
}

void ForFinishedFile(Dispatch& app, const FileSystem& fileSystem, EventPump& pump, const Text& path,
                     const WaitLimits& limits) {
    const auto deadline = Clock::now() + limits.output;
    std::optional<std::uint64_t> lastSize;
    auto lastSizeSince = Clock::now();
    for (;;) {
        // Word only counts its background jobs here; the embedded engine fails the read
        // when the job failed.
        app.Get("BackgroundPrintingStatus");
        const auto now = Clock::now();
        const auto size = fileSystem.FileSize(path);
        if (size != lastSize) {
            lastSize = size;
            lastSizeSince = now;
        } else if (size && *size > 0 && now - lastSizeSince >= limits.settle &&
                   !fileSystem.IsOpenForWriting(path)) {
            return;  // written: the size holds and no program has it open for writing
        }
        if (now >= deadline) {
            throw SystemError(TimeoutErrorNumber, "The PDF printer did not write " + path +
                                                      " within " + DescribeLimit(limits.output) +
                                                      ".");
        }
        // Once the file has content, look again just when it may count as written.
        milliseconds slice = OutputPollSlice;
        if (size && *size > 0) {
            const auto held = std::chrono::ceil<milliseconds>(now - lastSizeSince);
            slice = std::max(milliseconds(1), limits.settle - held);
        }
        pump.ProcessPendingMessages(std::min(slice, Remaining(deadline)));
    }
}

}  // namespace pendrel::PrintWait
