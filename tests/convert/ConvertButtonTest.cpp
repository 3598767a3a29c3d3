// The Convert button on the main window runs the batch; a click during a run is ignored.
#include <gtest/gtest.h>

#include <thread>

#include "platform/desk/Desk.h"
#include "queue/Queue.h"
#include "tests/convert/ScriptedWord.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

struct ConvertFixture {
    desk::Desk desk;
    fakes::ScriptedWordFactory word{desk, nullptr, nullptr};
    fakes::FakeForm f{&word, &desk};

    ConvertFixture() {
        word.fileSystem = &f.fileSystem;
        word.pump = &f.pump;
        // The form's pump returns at once; a short sleep stands in for waiting on messages.
        f.pump.onPump = [] { std::this_thread::sleep_for(std::chrono::milliseconds(2)); };
    }
};

TEST(ConvertButton, RunsTheQueueWithTheBusyPointerAndTheProcessingCaption) {
    ConvertFixture c;
    Queue::Append(c.f.list, "/d/a.doc");
    std::vector<std::pair<Text, int>> seenWhilePrinting;
    c.f.pump.onPump = [&] {
        seenWhilePrinting.emplace_back(c.f.window.caption, c.f.window.pointer);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    c.f.check2.UserClick();
    ASSERT_FALSE(seenWhilePrinting.empty());
    EXPECT_EQ(seenWhilePrinting.front(), (std::pair<Text, int>{"Pendrel [ Processing... ]", 11}));
    EXPECT_EQ(c.f.list.items[0].status, "Done");
    EXPECT_EQ(c.f.fileSystem.files.count("/d/a.pdf"), 1u);
    EXPECT_EQ(c.f.window.caption, "Pendrel [ Done ]");
    EXPECT_EQ(c.f.window.pointer, 1);
    EXPECT_EQ(c.f.check2.value, 0);
}

TEST(ConvertButton, AClickDuringARunIsIgnoredAndTheNextRunWorks) {
    ConvertFixture c;
    Queue::Append(c.f.list, "/d/a.doc");
    Queue::Append(c.f.list, "/d/b.doc");
    int clicks = 0;
    c.f.pump.onPump = [&] {
        if (clicks++ < 3) c.f.check2.UserClick();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    };
    c.f.check2.UserClick();
    EXPECT_GE(clicks, 3);
    EXPECT_EQ(c.word.created, 2) << "no run inside the run";
    EXPECT_EQ(c.word.mostAlive, 1);
    EXPECT_EQ(c.f.check2.value, 0) << "the ignored clicks still bring the button up";

    c.f.check2.UserClick();  // the run has ended: Convert works again
    EXPECT_EQ(c.word.created, 4);
}

}  // namespace
}  // namespace pendrel
