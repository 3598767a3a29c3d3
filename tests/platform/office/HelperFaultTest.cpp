// A helper that fails through no fault of its document (killed or stopped from outside) costs
// the document one more attempt on another helper, not its PDF; a document that brings its
// helper down, or runs past a limit we set, is not tried for ever.
#include <gtest/gtest.h>
#include <signal.h>

#include <set>

#include "tests/platform/office/PoolRig.h"

namespace pendrel::office::testing {
namespace {

// The helpers that loaded the document whose first line is line, in order.
std::vector<pid_t> LoadersOf(const PoolRig& rig, const std::string& line) {
    std::vector<pid_t> pids;
    for (const auto& [pid, loaded] : rig.Loads())
        if (loaded == line) pids.push_back(pid);
    return pids;
}

// Sends signal to each helper that loads the document whose first line is line, once, up to
// `times` helpers.
struct Saboteur {
    void operator()() {
        for (const pid_t pid : LoadersOf(rig, line))
            if (hit.size() < times && hit.insert(pid).second) ::kill(pid, signal);
    }
    const PoolRig& rig;
    std::string line;
    int signal;
    std::size_t times;
    std::set<pid_t> hit;
};

TEST(HelperFault, AHelperStoppedMidRenderIsReplacedAndItsDocumentConvertedOnAnother) {
    PoolRig rig;
    HelperLimits limits;
    limits.stopped = 200ms;
    BatchRig batch(FakeHelper(), 2, limits);
    batch.Queue({rig.Document("1.doc", "slow 100"), rig.Document("2.doc", "slow 1500"),
                 rig.Document("3.doc", "slow 100")});
    Saboteur stop{rig, "slow 1500", SIGSTOP, 1, {}};
    batch.pump.onPump = [&] { stop(); };
    const auto started = std::chrono::steady_clock::now();
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Done", "Done", "Done"}));
    EXPECT_TRUE(batch.Messages().empty());
    const auto loaders = LoadersOf(rig, "slow 1500");
    ASSERT_EQ(loaders.size(), 2u);
    EXPECT_NE(loaders[0], loaders[1]) << "tried again on another helper";
    EXPECT_LT(std::chrono::steady_clock::now() - started, 20s) << "not the render's time limit";
}

TEST(HelperFault, ADocumentWhoseHelpersAreKilledTwiceFailsSayingTheEngineWasStopped) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 2);
    batch.Queue({rig.Document("1.doc", "slow 100"), rig.Document("2.doc", "slow 3000"),
                 rig.Document("3.doc", "slow 100"), rig.Document("4.doc", "slow 100")});
    Saboteur kill{rig, "slow 3000", SIGKILL, 2, {}};
    batch.pump.onPump = [&] { kill(); };
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Done", "Queued", "Done", "Done"}));
    EXPECT_EQ(LoadersOf(rig, "slow 3000").size(), 2u);
    ASSERT_EQ(batch.Messages().size(), 1u);
    EXPECT_NE(batch.Messages()[0].find("stopped from outside"), Text::npos) << batch.Messages()[0];
    EXPECT_EQ(batch.Messages()[0].find("damaged"), Text::npos) << "not blamed on the document";
}

// Any signal we did not send, other than those a process raises on itself when it fails.
TEST(HelperFault, AHelperEndedFromOutsideOnceCostsItsDocumentNothingAndTwiceIsSaid) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 1);
    batch.Queue({rig.Document("1.doc", "slow 1000"), rig.Document("2.doc", "slow 1001")});
    Saboteur once{rig, "slow 1000", SIGTERM, 1, {}}, twice{rig, "slow 1001", SIGTERM, 2, {}};
    batch.pump.onPump = [&] {
        once();
        twice();
    };
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Done", "Queued"}));
    EXPECT_EQ(ReadFile(rig.temp / "1.pdf"), "%PDF-1.4 slow 1000\n");
    ASSERT_EQ(batch.Messages().size(), 1u);
    EXPECT_NE(batch.Messages()[0].find("stopped from outside (signal 15)"), Text::npos)
        << batch.Messages()[0];
}

TEST(HelperFault, ADocumentThatCrashesItsHelperIsTriedOnceMoreThenBlamed) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 2);
    batch.Queue({rig.Document("1.doc", "crash"), rig.Document("2.doc", "plain")});
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Queued", "Done"}));
    EXPECT_EQ(LoadersOf(rig, "crash").size(), 2u);
    ASSERT_EQ(batch.Messages().size(), 1u);
    EXPECT_NE(batch.Messages()[0].find("crashed (signal 11)"), Text::npos) << batch.Messages()[0];
    EXPECT_NE(batch.Messages()[0].find("damaged"), Text::npos) << batch.Messages()[0];
}

TEST(HelperFault, ADocumentPastALimitWeSetIsNotTriedAgain) {
    PoolRig rig;
    HelperLimits limits;
    limits.render = 3s;
    limits.memory = 256ull << 20;
    BatchRig batch(FakeHelper(), 2, limits);
    batch.Queue({rig.Document("1.doc", "hang"), rig.Document("2.doc", "swell 400"),
                 rig.Document("3.doc", "plain")});
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Queued", "Queued", "Done"}));
    EXPECT_EQ(LoadersOf(rig, "hang").size(), 1u);
    EXPECT_EQ(LoadersOf(rig, "swell 400").size(), 1u);
    ASSERT_EQ(batch.Messages().size(), 2u);
    EXPECT_NE(batch.Messages()[0].find("longer than 3 s to print"), Text::npos)
        << batch.Messages()[0];
    EXPECT_NE(batch.Messages()[1].find("more than 256 MB of memory"), Text::npos)
        << batch.Messages()[1];
}

}  // namespace
}  // namespace pendrel::office::testing
