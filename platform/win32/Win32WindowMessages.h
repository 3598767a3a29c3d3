#pragma once
// Window finding and posting with user32's wide calls.
#include "platform/WindowMessages.h"

namespace pendrel::win32 {

class Win32WindowMessages : public WindowMessages {
public:
    WindowHandle FindWindow(const Text& className, const Text& title) override;
    std::vector<WindowHandle> FindWindows(const Text& className, const Text& title) override;
    // Walks the children itself: Wine's FindWindowEx finds nothing when the "child after"
    // is of another class than the one searched, where Windows goes on with the next child.
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const Text& className,
                              const std::optional<Text>& title) override;
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
};

}  // namespace pendrel::win32
