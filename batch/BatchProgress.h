#pragma once
// The batch's progress as people read it: on a terminal, one line rewritten in place; in a
// log, one line per document.
#include <chrono>
#include <cstddef>

#include "batch/DocumentOutcome.h"

namespace pendrel::batch {

struct ProgressCounts {
    std::size_t done = 0;  // converted, skipped or failed
    std::size_t total = 0;
    std::size_t failed = 0;
    std::size_t converted = 0;
    std::chrono::duration<double> elapsed{0};
};

// "120/2000 done, 3 failed, 4.2 documents/s, 7:28 left" (no rate or time left before the
// first document is converted).
Text StatusLine(const ProgressCounts& counts);

// "[12/2000] converted /a/b.doc -> /a/b.pdf (3 pages, 1.2 s)", "... skipped ...: reason",
// "... failed /a/c.doc: reason".
Text DocumentLine(const DocumentOutcome& outcome, const ProgressCounts& counts);

}  // namespace pendrel::batch
