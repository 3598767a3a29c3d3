#include "platform/desk/Desk.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace pendrel::desk {
namespace {

using namespace std::chrono_literals;

// The printer's dialog on a thread of its own, as the virtual printer runs it.
struct DialogThread {
    Desk& desk;
    std::future<std::optional<Text>> result;
    std::jthread thread;
    WindowHandle dialog = 0, edit = 0, save = 0, cancel = 0;

    DialogThread(Desk& d, std::chrono::milliseconds limit = 5s, const Text& title = "Save As")
        : desk(d) {
        std::promise<std::optional<Text>> promise;
        result = promise.get_future();
        thread =
            std::jthread([&d, limit, title, p = std::move(promise)](std::stop_token stop) mutable {
                p.set_value(RunSaveAsDialog(d, title, "Document1.pdf", limit, stop));
            });
        const auto giveUp = std::chrono::steady_clock::now() + 2s;
        while ((dialog = desk.FindWindow("#32770", title)) == 0) {
            if (std::chrono::steady_clock::now() > giveUp) throw std::runtime_error("no dialog");
            std::this_thread::sleep_for(1ms);
        }
        edit = desk.FindWindowEx(dialog, 0, "Edit", std::nullopt);
        save = desk.FindWindowEx(dialog, edit, "Button", Text("&Save"));
        cancel = desk.FindWindowEx(dialog, 0, "Button", Text("Cancel"));
    }
    void Type(const std::u16string& units) {
        for (const char16_t u : units) EXPECT_TRUE(desk.PostMessage(edit, WmChar, u, 0x00300001));
    }
    void Click(WindowHandle button, std::intptr_t downAt = 0, std::intptr_t upAt = 0) {
        desk.PostMessage(button, WmLButtonDown, MkLButton, downAt);
        desk.PostMessage(button, WmLButtonUp, MkLButton, upAt);
    }
    std::optional<Text> Result() {
        EXPECT_EQ(result.wait_for(3s), std::future_status::ready);
        return result.get();
    }
};

TEST(Desk, FindsTheDialogAndItsChildrenAsWin32Does) {
    Desk desk;
    DialogThread d(desk);
    EXPECT_NE(d.edit, 0u);
    EXPECT_NE(d.save, 0u);
    EXPECT_NE(d.cancel, 0u);
    EXPECT_EQ(desk.FindWindow("#32770", "save as"), d.dialog) << "case does not matter";
    EXPECT_EQ(desk.FindWindow("#32770", "Open"), 0u);
    EXPECT_EQ(desk.FindWindow("Edit", ""), 0u) << "children are not top-level";
    // "Child after" searches the children that follow it, whatever their class.
    EXPECT_EQ(desk.FindWindowEx(d.dialog, d.edit, "Button", std::nullopt), d.save);
    EXPECT_EQ(desk.FindWindowEx(d.dialog, d.save, "Button", std::nullopt), d.cancel);
    EXPECT_EQ(desk.FindWindowEx(d.dialog, d.cancel, "Button", std::nullopt), 0u);
    EXPECT_EQ(desk.FindWindowEx(d.dialog, d.save, "Edit", std::nullopt), 0u);
    EXPECT_EQ(desk.FindWindowEx(d.dialog, d.dialog, "Edit", std::nullopt), 0u)
        << "a child-after that is no child of the parent finds nothing";
    EXPECT_EQ(desk.FindWindowEx(0, 0, "#32770", Text("Save As")), d.dialog);
    EXPECT_FALSE(desk.PostMessage(0x7777777, WmChar, 'a', 0));
    d.Click(d.cancel);
    EXPECT_EQ(d.Result(), std::nullopt);
}

TEST(Desk, ListsEveryMatchingTopLevelWindowInCreationOrder) {
    Desk desk;
    EXPECT_TRUE(desk.FindWindows("#32770", "Save As").empty());
    DialogThread first(desk);
    DialogThread other(desk, 5s, "Open");
    std::jthread second([&desk](std::stop_token stop) {
        RunSaveAsDialog(desk, "Save As", "Second.pdf", 5s, stop);
    });
    std::vector<WindowHandle> both;
    while ((both = desk.FindWindows("#32770", "save as")).size() < 2)
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both[0], first.dialog);
    EXPECT_NE(both[1], other.dialog);
    first.Click(first.cancel);
    EXPECT_EQ(first.Result(), std::nullopt);
    EXPECT_EQ(desk.FindWindows("#32770", "Save As"), std::vector<WindowHandle>{both[1]});
    other.Click(other.cancel);
}

TEST(Desk, SaveReturnsWhatWasTypedInPostingOrderAndTheWindowsLeave) {
    Desk desk;
    DialogThread d(desk);
    std::u16string name;
    for (int i = 0; i < 300; ++i) name += static_cast<char16_t>(u'a' + i % 26);
    d.Type(name +
           u"\U0001D11E\x08"
           u"\u00E9");
    d.Click(d.save);
    Text expected(name.begin(), name.end());
    EXPECT_EQ(d.Result(), expected + "\xC3\xA9");
    d.thread.join();
    EXPECT_EQ(desk.FindWindow("#32770", "Save As"), 0u);
    EXPECT_FALSE(desk.PostMessage(d.edit, WmChar, 'a', 0));
    EXPECT_FALSE(desk.PostMessage(d.dialog, WmChar, 'a', 0));
}

TEST(Desk, AClickNeedsPressAndReleaseOnTheSameButtonInsideIt) {
    Desk desk;
    DialogThread d(desk, 400ms);
    d.Type(u"x.pdf");
    desk.PostMessage(d.save, WmLButtonUp, MkLButton, 0);    // a release alone
    desk.PostMessage(d.save, WmLButtonDown, MkLButton, 0);  // pressed on Save ...
    desk.PostMessage(d.cancel, WmLButtonUp, MkLButton, 0);  // ... released on Cancel
    d.Click(d.save, 0, 200);                                // released outside (x = 200)
    d.Click(d.cancel, 0x00640000, 0);                       // pressed below it (y = 100)
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(d.Result(), std::nullopt);
    EXPECT_GT(std::chrono::steady_clock::now() - start, 200ms) << "ended by its time limit";
}

TEST(Desk, StopEndsTheDialogWithNothing) {
    Desk desk;
    DialogThread d(desk, 10s);
    d.Type(u"x.pdf");
    const auto start = std::chrono::steady_clock::now();
    d.thread.request_stop();
    EXPECT_EQ(d.Result(), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
}

TEST(Desk, TwoDialogsOnTwoThreadsEachGetTheirOwnMessages) {
    Desk desk;
    DialogThread first(desk, 5s, "Save As");
    DialogThread second(desk, 5s, "Save Copy As");
    first.Type(u"one");
    second.Type(u"two");
    second.Click(second.save);
    EXPECT_EQ(second.Result(), "two");
    first.Click(first.save);
    EXPECT_EQ(first.Result(), "one");
}

}  // namespace
}  // namespace pendrel::desk
