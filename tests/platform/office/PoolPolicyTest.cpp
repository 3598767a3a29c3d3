// The pool's policy in plain numbers: each bound is asserted where it lies, as a literal.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/office/pool/PoolPolicy.h"

namespace pendrel::office {
namespace {

constexpr std::uint64_t MB = 1024 * 1024;
constexpr std::uint64_t GB = 1024 * MB;

TEST(PoolPolicy, OneHelperPerCoreAsFarAsHalfTheMemoryHoldsThem) {
    EXPECT_EQ(PoolSizeFor(2, 16 * GB), 2u);
    EXPECT_EQ(PoolSizeFor(16, 64 * GB), 16u);
    EXPECT_EQ(PoolSizeFor(64, 256 * GB), 16u) << "at most 16";
    // 512 MB a helper, in half of what is available.
    EXPECT_EQ(PoolSizeFor(16, 4 * GB), 4u);
    EXPECT_EQ(PoolSizeFor(16, 4 * GB - 1), 3u);
    EXPECT_EQ(PoolSizeFor(8, 0), 1u) << "at least one";
    EXPECT_EQ(PoolSizeFor(0, 16 * GB), 1u);
}

TEST(PoolPolicy, TheLookAheadIsSixteenDocumentsAHelperAndHalfAGigabyte) {
    EXPECT_EQ(LookAheadDocumentsFor(1), 16u);
    EXPECT_EQ(LookAheadDocumentsFor(16), 256u);
    EXPECT_TRUE(MayRenderAhead({31, 0}, 2));
    EXPECT_FALSE(MayRenderAhead({32, 0}, 2));
    EXPECT_TRUE(MayRenderAhead({255, 0}, 16));
    EXPECT_FALSE(MayRenderAhead({256, 0}, 16));
    EXPECT_TRUE(MayRenderAhead({1, 512 * MB - 1}, 16));
    EXPECT_FALSE(MayRenderAhead({1, 512 * MB}, 16));
    EXPECT_FALSE(MayRenderAhead({0, 4 * GB}, 16));
}

// N helpers behind one slow document that the batch waits for: the others render ahead, one
// tick a document, each finished render waiting for the batch. What the simulation returns:
// the fewest helpers busy at any tick, and the documents rendered ahead by the end.
struct Behind {
    unsigned fewestBusy;
    std::size_t ahead;
};
Behind BehindOneSlowDocument(unsigned helpers, int slowTicks, std::uint64_t bytesPerDocument) {
    WorkAhead ahead;
    unsigned fewest = helpers;
    for (int tick = 0; tick < slowTicks; ++tick) {
        unsigned busy = 1;  // the slow one
        for (unsigned other = 1; other < helpers; ++other) {
            if (!MayRenderAhead(ahead, helpers)) break;
            ++ahead.documents;
            ahead.bytes += bytesPerDocument;
            ++busy;
        }
        fewest = std::min(fewest, busy);
    }
    return {fewest, ahead.documents};
}

TEST(PoolPolicy, EveryHelperStaysBusyBehindOneSlowDocumentUntilTheBytesRunOut) {
    // A document fifteen times slower than its neighbours, which make 1 MB each.
    for (const unsigned helpers : {2u, 4u, 8u, 12u, 16u})
        EXPECT_EQ(BehindOneSlowDocument(helpers, 15, MB).fewestBusy, helpers) << helpers;
    EXPECT_EQ(BehindOneSlowDocument(16, 15, MB).ahead, 225u);
    // Neighbours of 8 MB: the bytes stop them after 64, whatever the count allows.
    const Behind large = BehindOneSlowDocument(16, 15, 8 * MB);
    EXPECT_EQ(large.ahead, 64u);
    EXPECT_EQ(large.fewestBusy, 1u);
}

TEST(PoolPolicy, AHelperIsReplacedAfterTwoHundredDocumentsOrAtTheCeiling) {
    const std::uint64_t ceiling = 1536 * MB;
    EXPECT_FALSE(ShouldRetire(199, 100 * MB, ceiling));
    EXPECT_TRUE(ShouldRetire(200, 100 * MB, ceiling));
    EXPECT_FALSE(ShouldRetire(1, ceiling - 1, ceiling));
    EXPECT_TRUE(ShouldRetire(1, ceiling, ceiling));
    EXPECT_TRUE(ShouldRetire(1, 100 * MB, 100 * MB)) << "the ceiling it is given";
}

TEST(PoolPolicy, AHelperAboveTheCeilingIsStoppedAtOnce) {
    EXPECT_FALSE(OverMemoryCeiling(1536 * MB, 1536 * MB));
    EXPECT_TRUE(OverMemoryCeiling(1536 * MB + 1, 1536 * MB));
    EXPECT_TRUE(OverMemoryCeiling(300 * MB, 256 * MB));
}

TEST(PoolPolicy, NoDocumentAboveHalfAGigabyteIsCopied) {
    EXPECT_FALSE(TooLargeForWord(512 * MB));
    EXPECT_TRUE(TooLargeForWord(512 * MB + 1));
    EXPECT_TRUE(TooLargeForWord(8 * GB));
}

TEST(PoolPolicy, ARenderIsTheFilesWhileEveryPartOfItsIdentityHolds) {
    const FileIdentity made{1, 2, 3, 4, 5, 6, 7};
    EXPECT_TRUE(IsRenderOf(made, made));
    EXPECT_TRUE(IsRenderOf(std::nullopt, made)) << "not copied yet: it will be of the file now";
    EXPECT_FALSE(IsRenderOf(made, std::nullopt)) << "the file has gone";
    const FileIdentity changes[]{
        {9, 2, 3, 4, 5, 6, 7}, {1, 9, 3, 4, 5, 6, 7}, {1, 2, 9, 4, 5, 6, 7}, {1, 2, 3, 9, 5, 6, 7},
        {1, 2, 3, 4, 9, 6, 7}, {1, 2, 3, 4, 5, 9, 7}, {1, 2, 3, 4, 5, 6, 9}};
    for (const FileIdentity& now : changes) EXPECT_FALSE(IsRenderOf(made, now));
}

TEST(PoolPolicy, OnlyAHelperLostThroughNoLimitOfOursIsTriedOnceMore) {
    using S = Reply::Status;
    EXPECT_TRUE(ShouldTryAgain(S::EngineStopped, 1));
    EXPECT_TRUE(ShouldTryAgain(S::HelperLost, 1));
    EXPECT_FALSE(ShouldTryAgain(S::EngineStopped, 2));
    EXPECT_FALSE(ShouldTryAgain(S::HelperLost, 2));
    for (const S ours : {S::TimedOut, S::OverMemory, S::NotStarted, S::Answered})
        EXPECT_FALSE(ShouldTryAgain(ours, 1));
}

}  // namespace
}  // namespace pendrel::office
