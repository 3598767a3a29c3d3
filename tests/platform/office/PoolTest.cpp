// The pool's rules, with a stand-in helper that speaks the engine's protocol without
// LibreOffice (FakeOfficeHelper.cpp): what each document does is its first line.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <thread>

#include "platform/office/OfficeLimits.h"
#include "tests/platform/office/PoolRig.h"

namespace pendrel::office::testing {
namespace {

TEST(Pool, RendersAheadOnEveryHelperWhileTheBatchTakesTheRendersInQueueOrder) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 2);
    for (int i = 1; i <= 6; ++i)
        batch.Queue({rig.Document(std::to_string(i) + ".doc", "slow 200 #" + std::to_string(i))});
    // The batch drives one application at a time: never two printer dialogs, and an item is
    // Done only after every item before it.
    std::size_t dialogs = 0;
    bool inOrder = true;
    batch.pump.onPump = [&] {
        dialogs = std::max(dialogs, batch.desk.FindWindows("#32770", "Save As").size());
        const auto statuses = batch.Statuses();
        inOrder &= std::is_sorted(statuses.begin(), statuses.end(),
                                  [](auto& a, auto& b) { return a == "Done" && b != "Done"; });
    };
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), std::vector<Text>(6, "Done"));
    EXPECT_EQ(dialogs, 1u);
    EXPECT_TRUE(inOrder);
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(ReadFile(rig.temp / (std::to_string(i) + ".pdf")),
                  "%PDF-1.4 slow 200 #" + std::to_string(i) + "\n");
    std::set<pid_t> helpers;
    for (const auto& [pid, line] : rig.Loads()) helpers.insert(pid);
    EXPECT_EQ(helpers.size(), 2u) << "both helpers of the pool rendered";
    EXPECT_EQ(rig.Loads().size(), 6u) << "each document rendered once";
}

TEST(Pool, ARenderIsOnlyHandedOutForTheVersionOfTheFileItWasMadeFrom) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 1);
    const std::string a = rig.Document("a.doc", "first a"), b = rig.Document("b.doc", "first b");
    batch.engine.Expect({{1, a}, {2, b}});
    ASSERT_TRUE(Eventually([&] { return rig.Loads().size() == 2; }));
    // Changed on disk after its render was made, to the same size, and its modification time
    // set back as tools that restore times do: only the change time tells.
    struct stat before {};
    ASSERT_EQ(::stat(b.c_str(), &before), 0);
    std::this_thread::sleep_for(20ms);
    WriteFile(b, "{\\rtf1 other b\n");
    const timespec times[2]{before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, b.c_str(), times, 0), 0);

    batch.Queue({a, b});
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Done", "Done"}));
    EXPECT_EQ(ReadFile(rig.temp / "a.pdf"), "%PDF-1.4 first a\n") << "made ahead, and taken";
    EXPECT_EQ(ReadFile(rig.temp / "b.pdf"), "%PDF-1.4 other b\n");
    EXPECT_EQ(rig.Loads().back().second, "other b");
}

TEST(Pool, RendersNoLongerWantedAreDroppedAndAClosedEngineLeavesNothing) {
    PoolRig rig;
    {
        BatchRig batch(FakeHelper(), 2);
        const std::string a = rig.Document("a.doc", "a"), b = rig.Document("b.doc", "b");
        batch.engine.Expect({{1, a}, {2, b}});
        ASSERT_TRUE(Eventually([&] { return rig.Loads().size() == 2; }));
        batch.engine.Expect({{1, a}});  // b was removed from the queue
        ASSERT_TRUE(Eventually([&] {
            const auto spooled = rig.Spooled();
            return std::count_if(spooled.begin(), spooled.end(), [](const std::string& f) {
                       return f.find("ready-") != std::string::npos;
                   }) == 1;
        })) << "only a's render is kept";
        // Helpers busy with documents that never finish: the end does not wait for them.
        batch.engine.Expect(
            {{3, rig.Document("c.doc", "hang")}, {4, rig.Document("d.doc", "hang")}});
        ASSERT_TRUE(Eventually([&] { return rig.Loads().size() == 4; }));
        batch.engine.Shutdown();
        EXPECT_TRUE(HelperPids().empty());
    }
    EXPECT_TRUE(rig.Spooled().empty()) << "the spool, the helpers' folders and copies are gone";
    EXPECT_FALSE(std::filesystem::exists(rig.temp / "b.pdf"));
}

TEST(Pool, AHelperToldToDieIsNeverUsedAgainEvenBeforeItIsReaped) {
    PoolRig rig;
    HelperLimits limits;
    limits.load = 1s;
    BatchRig batch(FakeHelper(), 1, limits);
    // The first helper dies loading, while a child of its keeps its socket open: the window
    // cannot reap it, and kills it when its time is up.
    batch.Queue({rig.Document("1.doc", "orphan"), rig.Document("2.doc", "plain")});
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Queued", "Done"}));
    const auto loads = rig.Loads();
    ASSERT_EQ(loads.size(), 2u);
    EXPECT_NE(loads[0].first, loads[1].first) << "the next document went to a fresh helper";
    EXPECT_NE(batch.Messages().at(0).find("longer than 1 s"), Text::npos) << batch.Messages()[0];
}

// A helper of another version, or none at all: said once, and not blamed on the documents.
TEST(Pool, AHelperOfAnotherVersionOrNoneIsRefusedAndSaidOnce) {
    PoolRig rig;
    ::setenv("FAKE_OFFICE_PROTOCOL", "1", 1);
    const std::pair<HelperCommand, std::string> cases[]{
        {FakeHelper(), "of another version (it speaks protocol 1"},
        {{"/nonexistent/pendrel-office", PENDREL_TEST_PROFILE, {}}, "could not be started"}};
    for (const auto& [helper, words] : cases) {
        BatchRig batch(helper, 2);
        batch.Queue({rig.Document("1.doc", "a"), rig.Document("2.doc", "b")});
        batch.Convert();
        EXPECT_EQ(batch.Statuses(), (std::vector<Text>{"Queued", "Queued"}));
        ASSERT_EQ(batch.Messages().size(), 1u);
        EXPECT_NE(batch.Messages()[0].find(words), Text::npos) << batch.Messages()[0];
        EXPECT_EQ(batch.Messages()[0].find("damaged"), Text::npos) << batch.Messages()[0];
    }
    ::unsetenv("FAKE_OFFICE_PROTOCOL");
}

// A helper that says its renderer is shut in nothing renders nothing, and that is said once;
// allowed, it renders and the user is told once, however many helpers start. A helper with
// Landlock alone renders without a word.
TEST(Pool, AHelperWithoutIsolationRendersNothingUnlessAllowedAndThenItIsSaidOnce) {
    PoolRig rig;
    int warnings = 0;
    std::string warned;
    const auto convert = [&](const char* isolation, bool allowed) {
        ::setenv("FAKE_OFFICE_ISOLATION", isolation, 1);
        HelperCommand helper = FakeHelper();
        helper.isolation = {allowed, "to allow it, flip the switch",
                            [&](const std::string& missing) {
                                ++warnings;
                                warned = missing;
                            }};
        BatchRig batch(helper, 2);
        batch.Queue(
            {rig.Document("1.doc", "a"), rig.Document("2.doc", "b"), rig.Document("3.doc", "c")});
        batch.Convert();
        ::unsetenv("FAKE_OFFICE_ISOLATION");
        return std::pair{batch.Statuses(), batch.Messages()};
    };

    const auto [refused, said] = convert("0", false);
    EXPECT_EQ(refused, (std::vector<Text>{"Queued", "Queued", "Queued"}));
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find("cannot shut documents off from the rest of the system "
                           "(namespaces: left out), and documents are not rendered without "
                           "that; to allow it, flip the switch."),
              Text::npos)
        << said[0];
    EXPECT_EQ(warnings, 0);

    const auto [allowed, none] = convert("0", true);
    EXPECT_EQ(allowed, (std::vector<Text>{"Done", "Done", "Done"}));
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(warnings, 1);
    EXPECT_EQ(warned, "namespaces: left out");

    const auto [landlock, quiet] = convert("1", false);
    EXPECT_EQ(landlock, (std::vector<Text>{"Done", "Done", "Done"}));
    EXPECT_TRUE(quiet.empty());
    EXPECT_EQ(warnings, 1);
}

// LibreOffice keeps memory from every document: a helper that says it holds more than the
// ceiling, or has served its count of documents, gives way to a new one.
TEST(Pool, AHelperIsReplacedAfterItsCountOfDocumentsOrAboveTheMemoryCeiling) {
    PoolRig rig;
    BatchRig batch(FakeHelper(), 1);
    batch.Queue({rig.Document("big.doc", "big")});
    for (int i = 0; i <= HelperDocumentLimit; ++i)
        batch.Queue({rig.Document(std::to_string(i) + ".doc", "plain")});
    batch.Convert();
    EXPECT_EQ(batch.Statuses(), std::vector<Text>(HelperDocumentLimit + 2, "Done"));
    std::vector<int> loads;  // of each helper in turn
    pid_t last = 0;
    for (const auto& [pid, line] : rig.Loads()) {
        if (pid != last) loads.push_back(0);
        ++loads.back();
        last = pid;
    }
    EXPECT_EQ(loads, (std::vector<int>{1, HelperDocumentLimit, 1}));
}

TEST(HelperProcess, AnswersNobodyWaitsForAreNotKept) {
    PoolRig rig;
    TempFolder folder;
    HelperProcess helper(FakeHelper(), folder.Path(), nullptr);
    Message close;
    close.kind = MessageKind::Close;
    for (int i = 0; i < 100; ++i) helper.Send(close, false);
    Message load;
    load.kind = MessageKind::Load;
    load.text = rig.Document("a.doc", "a");
    const std::uint32_t id = helper.Send(load);
    ASSERT_TRUE(Eventually([&] { return helper.Take(id).has_value(); }));
    EXPECT_EQ(helper.Unclaimed(), 0u);
}

}  // namespace
}  // namespace pendrel::office::testing
