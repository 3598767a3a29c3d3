#pragma once
// Finding top-level windows and their children, and posting messages to them.
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Text.h"
#include "platform/WindowSurface.h"

namespace pendrel {

// The Windows message numbers (named apart from windows.h's macros of the same meaning).
constexpr std::uint32_t WmChar = 0x0102;
constexpr std::uint32_t WmLButtonDown = 0x0201;
constexpr std::uint32_t WmLButtonUp = 0x0202;
constexpr std::uintptr_t MkLButton = 0x0001;

class WindowMessages {
public:
    virtual ~WindowMessages() = default;
    // The first top-level window of the class with the title, or 0.
    virtual WindowHandle FindWindow(const Text& className, const Text& title) = 0;
    // Every top-level window of the class with the title, so that a caller can tell a window
    // that shows up later from those already there. Implementations that can list windows
    // override this; the default knows of none.
    virtual std::vector<WindowHandle> FindWindows(const Text& className, const Text& title) {
        static_cast<void>(className);
        static_cast<void>(title);
        return {};
    }
    // The first direct child of parent after childAfter (0: from the first child) of the
    // class and, when a title is given, with that title; or 0.
    virtual WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter,
                                      const Text& className, const std::optional<Text>& title) = 0;
    // Queues the message for the window's own thread and returns at once.
    virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) = 0;
};

}  // namespace pendrel
