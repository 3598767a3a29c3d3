#pragma once
// Where a batch without a window tells what it does: the report file (one JSON line per
// document, flushed as each ends, so a batch killed outright still leaves what it did), and
// the error stream: on a terminal one status line rewritten in place, else one line per
// document; failures always, also with --quiet.
#include <cstdio>

#include "batch/HeadlessBatch.h"

namespace pendrel::programs {

class BatchConsole final : public batch::BatchListener {
public:
    // report: the open report file, or null; terminal: the error stream is a terminal.
    BatchConsole(std::FILE* report, bool quiet, bool terminal);

    void Ended(const batch::DocumentOutcome& outcome, const batch::ProgressCounts& counts) override;
    void EngineUnavailable(const Failure& why) override;
    // The status line, if any, is left standing on a line of its own.
    void Finish();
    // False once a line of the report could not be written.
    bool ReportWritten() const { return reportWritten_; }

private:
    void Say(const Text& line);

    std::FILE* report_;
    bool quiet_;
    bool terminal_;
    bool statusShown_ = false;
    bool reportWritten_ = true;
};

}  // namespace pendrel::programs
