// The order of renders and the look-ahead as the pool applies it, without helpers: the queue
// is plain bookkeeping.
#include <gtest/gtest.h>

#include "platform/office/pool/RenderQueue.h"

namespace pendrel::office {
namespace {

std::vector<LookAhead::Document> Documents(std::uint64_t count) {
    std::vector<LookAhead::Document> run;
    for (std::uint64_t key = 1; key <= count; ++key)
        run.push_back({key, "/docs/" + std::to_string(key) + ".doc"});
    return run;
}

// Starts renders ahead until the queue says no more; each holds `bytes`. How many it started.
std::size_t StartAhead(RenderQueue& queue, unsigned poolSize, std::uint64_t bytes) {
    std::size_t started = 0;
    while (auto job = queue.Next(poolSize, true)) {
        job->stage = RenderJob::Stage::Rendered;
        job->bytes = bytes;
        ++started;
    }
    return started;
}

TEST(RenderQueue, RendersAheadSixteenDocumentsAHelperUntilHalfAGigabyte) {
    RenderQueue two;
    two.Expect(Documents(100));
    EXPECT_EQ(StartAhead(two, 2, 1024), 32u);
    RenderQueue sixteen;
    sixteen.Expect(Documents(300));
    EXPECT_EQ(StartAhead(sixteen, 16, 1024), 256u);
    RenderQueue large;
    large.Expect(Documents(300));
    EXPECT_EQ(StartAhead(large, 16, 64ull << 20), 8u) << "8 x 64 MB";
}

TEST(RenderQueue, WhatTheBatchTakesGoesFirstAndFreesItsPlaceAhead) {
    RenderQueue queue;
    queue.Expect(Documents(40));
    EXPECT_EQ(StartAhead(queue, 1, 1024), 16u);
    // The batch takes the first; a document nobody has reached yet goes before all the rest.
    const auto first = queue.Take("/docs/1.doc", std::nullopt);
    EXPECT_EQ(first->key, 1u);
    EXPECT_EQ(first->stage, RenderJob::Stage::Rendered) << "the render made ahead";
    const auto late = queue.Take("/docs/30.doc", std::nullopt);
    EXPECT_EQ(late->stage, RenderJob::Stage::Waiting);
    EXPECT_EQ(queue.Next(1, true), late);
    late->stage = RenderJob::Stage::Rendered;
    const auto next = queue.Next(1, true);
    ASSERT_TRUE(next) << "the first's place ahead is free again";
    EXPECT_EQ(next->key, 17u);
    next->stage = RenderJob::Stage::Rendering;
    EXPECT_FALSE(queue.Next(1, true)) << "and then full";
}

TEST(RenderQueue, ARenderOfAnotherVersionIsNotHandedOut) {
    RenderQueue queue;
    queue.Expect(Documents(1));
    const auto made = queue.Next(1, true);
    made->identity = FileIdentity{1, 2, 3, 4, 5, 6, 7};
    made->stage = RenderJob::Stage::Rendered;
    const auto taken = queue.Take("/docs/1.doc", FileIdentity{1, 2, 3, 4, 5, 6, 8});
    EXPECT_NE(taken, made);
    EXPECT_TRUE(made->unwanted);
    EXPECT_EQ(taken->stage, RenderJob::Stage::Waiting);
}

}  // namespace
}  // namespace pendrel::office
