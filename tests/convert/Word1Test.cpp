#include "convert/Word1.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/FileSystem.h"
#include "platform/desk/Desk.h"
#include "tests/fakes/SleepingPump.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;

// A "Save As" dialog that was open before printing began is never typed into; while no other
// shows up, the wait sleeps between searches and gives up at its limit. (Word itself: see the
// batch's tests.)
TEST(Word1, AnswersOnlyTheDialogThatShowsUpAfterPrintingBegan) {
    desk::Desk desk;
    fakes::SleepingPump pump;
    std::optional<Text> users, printers;
    std::jthread user([&](std::stop_token stop) {
        users = desk::RunSaveAsDialog(desk, "Save As", "Mine.pdf", 3s, stop);
    });
    while (desk.FindWindow("#32770", "Save As") == 0) std::this_thread::sleep_for(1ms);
    const std::vector<WindowHandle> before = desk.FindWindows("#32770", "Save As");
    EXPECT_THROW(Word1::AnswerSaveAsDialog("/d/a.pdf", desk, pump, 200ms, before), SystemError);
    EXPECT_GE(pump.calls, 2);
    EXPECT_LE(pump.calls, 40) << "about one search per 10 ms, not thousands";

    std::jthread printer([&](std::stop_token stop) {
        printers = desk::RunSaveAsDialog(desk, "Save As", "Document1.pdf", 3s, stop);
    });
    Word1::AnswerSaveAsDialog("/d/a.pdf", desk, pump, 2s, before);
    printer.join();
    EXPECT_EQ(printers, Text("/d/a.pdf"));
    user.request_stop();
    user.join();
    EXPECT_EQ(users, std::nullopt) << "the user's dialog got neither text nor a click";
}

}  // namespace
}  // namespace pendrel
