#pragma once
// The wait for a finished PDF, which lets window messages through: it sleeps between checks
// and ends with a SystemError when its time limit passes.
#include "convert/WaitLimits.h"
#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"

namespace pendrel::PrintWait {

// The number a time limit's failure is reported with (the system's "timeout expired").
inline constexpr std::int32_t TimeoutErrorNumber = 1460;

// Waits until the file at path exists, is not empty, its size has held for limits.settle and
// no program holds it open for writing. Meanwhile app's BackgroundPrintingStatus is read: an engine
// reports a failed print job by failing that read, which ends the wait at once.
void ForFinishedFile(Dispatch& app, const FileSystem& fileSystem, EventPump& pump, const Text& path,
                     const WaitLimits& limits);

// "60 seconds", "200 milliseconds": a time limit as the user reads it.
Text DescribeLimit(std::chrono::milliseconds limit);

}  // namespace pendrel::PrintWait
