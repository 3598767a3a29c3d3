#pragma once
// The pool's rules, as plain functions of plain numbers: how many helpers, how far ahead of
// the batch to render, when a helper is replaced or stopped, which documents are refused
// before they are copied, when a render is still the file's, and when a document is tried
// again. The scheduler (RenderPool) applies them; nothing here starts a thread or reads /proc.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/office/pool/DocumentCopy.h"
#include "platform/office/pool/Reply.h"

namespace pendrel::office {

// One helper per core, as many as half of the available memory holds at a helper's typical
// peak, at least one and at most MostHelpers (OfficeLimits.h).
unsigned PoolSizeFor(unsigned cores, std::uint64_t availableBytes);

// What the pool has under way ahead of the batch: documents copied, rendering or rendered and
// not yet taken, and the bytes of their copies and PDFs.
struct WorkAhead {
    std::size_t documents = 0;
    std::uint64_t bytes = 0;
};
// How many documents a pool of poolSize helpers renders ahead at most.
std::size_t LookAheadDocumentsFor(unsigned poolSize);
// Whether the pool may start one more document ahead of the batch.
bool MayRenderAhead(WorkAhead ahead, unsigned poolSize);

// A helper holding more than the ceiling is stopped at once, its document failed.
bool OverMemoryCeiling(std::uint64_t residentBytes, std::uint64_t ceiling);
// A helper that has served its count of documents, or holds the ceiling, is replaced once idle.
bool ShouldRetire(int documentsServed, std::uint64_t residentBytes, std::uint64_t ceiling);

// Larger than any Word document: refused before it is copied.
bool TooLargeForWord(std::uint64_t bytes);

// Whether a render made from the file as it was (nothing: its copy has not begun) may be
// handed out for the file as it is now (nothing: gone).
bool IsRenderOf(const std::optional<FileIdentity>& renderedFrom,
                const std::optional<FileIdentity>& now);

// Whether a document whose helper ended this way on attempt number `attempt` (1 for the first)
// is tried again on another helper. The helper's fault (killed or stopped from outside) and a
// crash, which may be the renderer's own, get one more attempt; what we ended ourselves (a time
// limit, the memory ceiling) and what the helper answered get none.
bool ShouldTryAgain(Reply::Status ending, int attempt);

}  // namespace pendrel::office
