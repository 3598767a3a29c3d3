#pragma once
// How one document of a batch without a window ended, and the line of the batch's report
// (JSON Lines) that says so.
#include <cstdint>
#include <string_view>

#include "platform/Text.h"

namespace pendrel::batch {

enum class DocumentStatus { Converted, Skipped, Failed };

struct DocumentOutcome {
    Text path;  // the document
    Text pdf;   // its PDF, written or up to date; empty when it failed
    DocumentStatus status = DocumentStatus::Failed;
    Text reason;  // why it failed, or why it was skipped
    std::uint32_t pages = 0;
    double seconds = 0;  // the time the batch spent on it
};

// "converted", "skipped", "failed".
std::string_view StatusWord(DocumentStatus status);

// text as a JSON string, quotes included. A name that is not valid UTF-8 is written as the
// window shows it, each byte that belongs to no character as the four characters \xNN.
Text JsonString(std::string_view text);

// The report's line for the outcome, newline included:
// {"path":...,"pdf":...|null,"status":...,"reason":...|null,"pages":N,"seconds":S}
// followed, for a path or PDF whose name is not valid UTF-8, by "path_bytes" or "pdf_bytes":
// its exact bytes in hexadecimal.
Text ReportLine(const DocumentOutcome& outcome);

}  // namespace pendrel::batch
