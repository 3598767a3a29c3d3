#include "platform/office/pool/PoolPolicy.h"

#include <algorithm>

#include "platform/office/OfficeLimits.h"

namespace pendrel::office {

unsigned PoolSizeFor(unsigned cores, std::uint64_t availableBytes) {
    const auto byMemory =
        static_cast<unsigned>(std::min<std::uint64_t>(availableBytes / 2 / HelperTypicalPeak, ~0u));
    return std::max(1u, std::min({cores, byMemory, MostHelpers}));
}

std::size_t LookAheadDocumentsFor(unsigned poolSize) {
    return std::max(1u, poolSize) * LookAheadDocumentsPerHelper;
}

bool MayRenderAhead(WorkAhead ahead, unsigned poolSize) {
    return ahead.documents < LookAheadDocumentsFor(poolSize) && ahead.bytes < LookAheadBytes;
}

bool OverMemoryCeiling(std::uint64_t residentBytes, std::uint64_t ceiling) {
    return residentBytes > ceiling;
}

bool ShouldRetire(int documentsServed, std::uint64_t residentBytes, std::uint64_t ceiling) {
    return documentsServed >= HelperDocumentLimit || residentBytes >= ceiling;
}

bool TooLargeForWord(std::uint64_t bytes) {
    return bytes > LargestDocument;
}

bool IsRenderOf(const std::optional<FileIdentity>& renderedFrom,
                const std::optional<FileIdentity>& now) {
    return !renderedFrom || renderedFrom == now;
}

bool ShouldTryAgain(Reply::Status ending, int attempt) {
    const bool helpersFault =
        ending == Reply::Status::EngineStopped || ending == Reply::Status::HelperLost;
    return helpersFault && attempt < 2;
}

}  // namespace pendrel::office
