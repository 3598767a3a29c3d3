#include "platform/desk/Desk.h"

#include <gtest/gtest.h>

#include <thread>

namespace pendrel::desk {
namespace {

using namespace std::chrono_literals;

// The printer's dialog on a thread of its own, as the virtual printer runs it, with its
// windows once it has shown: the newest top-level one of its title.
struct DialogThread {
    Desk& desk;
    std::optional<Text> result;
    std::jthread thread;
    WindowHandle dialog = 0, edit = 0, save = 0, cancel = 0;

    DialogThread(Desk& d, std::chrono::milliseconds limit = 5s, const Text& title = "Save As")
        : desk(d) {
        const std::size_t before = desk.FindWindows("#32770", title).size();
        thread = std::jthread([this, limit, title](std::stop_token stop) {
            result = RunSaveAsDialog(desk, title, "Document1.pdf", limit, stop);
        });
        const auto giveUp = std::chrono::steady_clock::now() + 2s;
        std::vector<WindowHandle> found;
        while ((found = desk.FindWindows("#32770", title)).size() <= before) {
            if (std::chrono::steady_clock::now() > giveUp) throw std::runtime_error("no dialog");
            std::this_thread::sleep_for(1ms);
        }
        dialog = found.back();
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
    std::optional<Text> Result() {  // once the dialog has ended
        thread.join();
        return result;
    }
};

// Found as Win32 finds them (the children of each: see DialogThread); each gets its own
// messages until it ends by Save, Cancel, a stop or its time limit.
TEST(Desk, FindsDialogsAsWin32DoesAndEachGetsItsOwnMessagesUntilEnded) {
    Desk desk;
    EXPECT_TRUE(desk.FindWindows("#32770", "Save As").empty());
    DialogThread d(desk), other(desk, 10s, "Open"), second(desk);
    EXPECT_EQ(desk.FindWindows("#32770", "save as"),
              (std::vector<WindowHandle>{d.dialog, second.dialog}))
        << "every match, case aside, in creation order";
    EXPECT_EQ(desk.FindWindow("#32770", "save as"), d.dialog);
    EXPECT_FALSE(desk.PostMessage(0x7777777, WmChar, 'a', 0));

    d.Type(u"one");
    second.Type(u"two");  // typing replaces the selected suggestion
    second.Click(second.save);
    EXPECT_EQ(second.Result(), "two");
    EXPECT_EQ(desk.FindWindows("#32770", "Save As"), std::vector<WindowHandle>{d.dialog});
    d.Click(d.cancel);
    EXPECT_EQ(d.Result(), std::nullopt);
    const auto start = std::chrono::steady_clock::now();
    other.thread.request_stop();  // stopping ends a dialog at once, with nothing
    EXPECT_EQ(other.Result(), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
    EXPECT_EQ(DialogThread(desk, 50ms).Result(), std::nullopt) << "ended by its time limit";
}

// Backspace takes the selected suggestion, then nothing, then one character (a surrogate pair
// whole) before the caret; other control characters are typed, as a file name on this system
// may hold them. A click counts only when pressed and released on the same button inside it.
TEST(Desk, SaveReturnsWhatWasTypedAndEditedInPostingOrderAndTheWindowsLeave) {
    Desk desk;
    DialogThread d(desk);
    d.Type(u"\b\bab\b");
    desk.PostMessage(d.save, WmLButtonUp, MkLButton, 0);    // a release alone
    desk.PostMessage(d.save, WmLButtonDown, MkLButton, 0);  // pressed on Save ...
    desk.PostMessage(d.cancel, WmLButtonUp, MkLButton, 0);  // ... released on Cancel
    d.Click(d.save, 0, 200);                                // released outside (x = 200)
    d.Click(d.cancel, 0x00640000, 0);                       // pressed below it (y = 100)
    d.Type(u"cd\r\n\t\x1B\x7F" + std::u16string(300, u'n') + u"\U0001D11E\x08\u00E9");
    d.Click(d.save);
    EXPECT_EQ(d.Result(), "acd\r\n\t\x1B\x7F" + Text(300, 'n') + "\xC3\xA9");
    EXPECT_EQ(desk.FindWindow("#32770", "Save As"), 0u);
    EXPECT_FALSE(desk.PostMessage(d.edit, WmChar, 'a', 0));
    EXPECT_FALSE(desk.PostMessage(d.dialog, WmChar, 'a', 0));
}

}  // namespace
}  // namespace pendrel::desk
