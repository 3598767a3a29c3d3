#pragma once
// Window finding that always finds the printer's dialog and records what is posted.
#include <vector>

#include "platform/WindowMessages.h"

namespace pendrel::fakes {

class RecordingWindows : public WindowMessages {
public:
    static constexpr WindowHandle Dialog = 0x500, Edit = 0x501, Save = 0x502;
    struct Post {
        WindowHandle window;
        std::uint32_t message;
        std::uintptr_t wParam;
        std::intptr_t lParam;
        bool operator==(const Post&) const = default;
    };
    std::vector<Post> posts;
    std::vector<Text> searches;

    WindowHandle FindWindow(const Text& className, const Text& title) override {
        searches.push_back("FindWindow " + className + " " + title);
        return Dialog;
    }
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle after, const Text& className,
                              const std::optional<Text>& title) override {
        searches.push_back("FindWindowEx " + std::to_string(parent) + " " + std::to_string(after) +
                           " " + className + " " + title.value_or("(any)"));
        if (parent != Dialog) return 0;
        if (after == 0 && className == "Edit" && !title) return Edit;
        if (after == Edit && className == "Button" && title == Text("&Save")) return Save;
        return 0;
    }
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override {
        posts.push_back({window, message, wParam, lParam});
        return true;
    }
};

}  // namespace pendrel::fakes
