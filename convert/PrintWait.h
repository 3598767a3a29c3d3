#pragma once
// The two waits of a conversion that let window messages through. Both sleep between checks
// and both end with a SystemError when their time limit passes.
#include "convert/WaitLimits.h"
#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/WindowMessages.h"

namespace pendrel::PrintWait {

// The number a time limit's failure is reported with (the system's "timeout expired").
inline constexpr std::int32_t TimeoutErrorNumber = 1460;

// Searches for the top-level window until it exists; messages are processed after every
// search, the successful one included.
WindowHandle ForWindow(WindowMessages& windows, EventPump& pump, const Text& className,
                       const Text& title, std::chrono::milliseconds limit);

// Waits until the file at path exists, is not empty and its size has held for
// limits.settle. Meanwhile app's BackgroundPrintingStatus is read: an engine reports a
// failed print job by failing that read, which ends the wait at once.
void ForFinishedFile(Dispatch& app, const FileSystem& fileSystem, EventPump& pump, const Text& path,
                     const WaitLimits& limits);

// "60 seconds", "200 milliseconds": a time limit as the user reads it.
Text DescribeLimit(std::chrono::milliseconds limit);

}  // namespace pendrel::PrintWait
