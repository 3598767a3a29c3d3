#pragma once
// Window finding and message posting where there is no Win32: a table of the top-level
// windows that the program's own components create (the virtual printer's dialog). Each
// window belongs to the thread that created it; messages posted to it are queued for that
// thread and handled there in posting order.
#include <chrono>
#include <memory>
#include <optional>
#include <stop_token>

#include "platform/WindowMessages.h"

namespace pendrel::desk {

class Desk : public WindowMessages {
public:
    Desk();
    ~Desk() override;
    Desk(const Desk&) = delete;
    Desk& operator=(const Desk&) = delete;

    WindowHandle FindWindow(const Text& className, const Text& title) override;
    std::vector<WindowHandle> FindWindows(const Text& className, const Text& title) override;
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const Text& className,
                              const std::optional<Text>& title) override;
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
    friend class DialogRunner;
};

// Shows the printer's file-name dialog (platform/WordContract.h) with the given title on the
// calling thread: its children, in order, are an "Edit" holding initialName wholly selected, a
// "Button" "&Save" and a "Button" "Cancel". It handles the messages posted to it until Save is
// clicked (the result is the edit box's text), Cancel is clicked, the time limit passes or
// stop is requested (the result is then nothing). The dialog is in the table only while
// this runs.
std::optional<Text> RunSaveAsDialog(Desk& desk, const Text& title, const Text& initialName,
                                    std::chrono::milliseconds timeLimit, std::stop_token stop);

}  // namespace pendrel::desk
