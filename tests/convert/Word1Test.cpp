#include "convert/Word1.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

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
    // A dialog the desk does not show as the printer's fails the test rather than hanging it.
    for (int i = 0; i < 2000 && desk.FindWindow("#32770", "Save As") == 0; ++i)
        std::this_thread::sleep_for(1ms);
    ASSERT_NE(desk.FindWindow("#32770", "Save As"), 0u);
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

// The messages that answer the dialog, as Windows defines them: each UTF-16 unit of the name as
// a WM_CHAR (0x0102) to the dialog's first "Edit" child, with the keystroke data of one press of
// scan code 0x30 (repeat count 1 in bits 0-15, the scan code in bits 16-23); then a press and a
// release of the left button (0x0201, 0x0202, MK_LBUTTON) at the corner of its "&Save" button.
// The dialog is found before its controls are made: nothing is posted until both exist.
TEST(Word1, TypesTheNameAsKeystrokesAndClicksSave) {
    struct RecordingWindows : WindowMessages {
        using Post = std::tuple<WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t>;
        std::vector<Post> posted;
        int searches = 0;  // the edit box exists from the third, the Save button from the fourth
        WindowHandle FindWindow(const Text& className, const Text& title) override {
            ++searches;
            return className == "#32770" && title == "Save As" ? 10 : 0;
        }
        WindowHandle FindWindowEx(WindowHandle parent, WindowHandle after, const Text& className,
                                  const std::optional<Text>& title) override {
            if (parent != 10) return 0;
            if (searches >= 3 && after == 0 && className == "Edit" && !title) return 11;
            if (searches >= 4 && after == 11 && className == "Button" && title == Text("&Save"))
                return 12;
            return 0;
        }
        bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                         std::intptr_t lParam) override {
            posted.emplace_back(window, message, wParam, lParam);
            return true;
        }
    } windows;
    fakes::SleepingPump pump;
    // a, e acute, and G clef: one unit, one unit, a surrogate pair.
    Word1::AnswerSaveAsDialog("a\xC3\xA9\xF0\x9D\x84\x9E", windows, pump, 1s);
    using Post = RecordingWindows::Post;
    EXPECT_EQ(windows.posted, (std::vector<Post>{{11, 0x0102, 0x0061, 0x00300001},
                                                 {11, 0x0102, 0x00E9, 0x00300001},
                                                 {11, 0x0102, 0xD834, 0x00300001},
                                                 {11, 0x0102, 0xDD1E, 0x00300001},
                                                 {12, 0x0201, 0x0001, 0},
                                                 {12, 0x0202, 0x0001, 0}}));
    EXPECT_EQ(windows.searches, 4);
}

// A long from two 16-bit halves, as Windows' MAKELONG: the low half is not sign-widened.
TEST(Word1, MakeLongPacksTheHalvesAsWindowsDoes) {
    EXPECT_EQ(Word1::MakeLong(1, 48), 0x00300001);
    EXPECT_EQ(Word1::MakeLong(-1, 0), 0x0000FFFF);
    EXPECT_EQ(Word1::MakeLong(0, -1), static_cast<std::int32_t>(0xFFFF0000u));
    EXPECT_EQ(Word1::MakeLong(-2, -1), -2);
}

}  // namespace
}  // namespace pendrel
