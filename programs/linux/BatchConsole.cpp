#include "programs/linux/BatchConsole.h"

#include "batch/BatchProgress.h"
#include "platform/text/Utf8.h"
#include "programs/linux/CommandLine.h"

namespace pendrel::programs {
namespace {

// Erases the terminal's current line and puts the cursor at its start.
constexpr const char* ClearLine = "\r\033[K";

}  // namespace

BatchConsole::BatchConsole(std::FILE* report, bool quiet, bool terminal)
    : report_(report), quiet_(quiet), terminal_(terminal) {}

void BatchConsole::Say(const Text& line) {
    if (statusShown_) std::fputs(ClearLine, stderr);
    std::fputs((line + "\n").c_str(), stderr);
    statusShown_ = false;
}

void BatchConsole::Ended(const batch::DocumentOutcome& outcome,
                         const batch::ProgressCounts& counts) {
    if (report_) {
        const Text line = batch::ReportLine(outcome);
        reportWritten_ &= std::fputs(line.c_str(), report_) >= 0 && std::fflush(report_) == 0;
    }
    const bool failed = outcome.status == batch::DocumentStatus::Failed;
    if (terminal_) {
        if (failed)
            Say(Text(ProgramName) + ": " + Utf8::Visible(outcome.path) + ": " + outcome.reason);
        if (quiet_) return;
        std::fputs((Text(statusShown_ ? ClearLine : "") + batch::StatusLine(counts)).c_str(),
                   stderr);
        statusShown_ = true;
    } else if (!quiet_) {
        Say(Text(ProgramName) + ": " + batch::DocumentLine(outcome, counts));
    } else if (failed) {
        Say(Text(ProgramName) + ": " + Utf8::Visible(outcome.path) + ": " + outcome.reason);
    }
    std::fflush(stderr);
}

void BatchConsole::EngineUnavailable(const Failure& why) {
    Say(Text(ProgramName) +
        ": no document can be converted, as the program that converts them "
        "cannot be started. " +
        why.Said());
}

void BatchConsole::Finish() {
    if (statusShown_) std::fputs("\n", stderr);
    statusShown_ = false;
}

}  // namespace pendrel::programs
