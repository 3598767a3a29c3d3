#pragma once
// The desk's window table and the message queues of the threads that own its windows.
// Shared by the Desk's public calls and the dialogs that run on it.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

#include "platform/desk/Desk.h"

namespace pendrel::desk {

struct PostedMessage {
    WindowHandle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

struct Desk::Impl {
    struct Window {
        Text className;
        Text title;
        WindowHandle parent = 0;
        std::vector<WindowHandle> children;
        std::thread::id owner;
    };
    struct ThreadQueue {
        std::deque<PostedMessage> messages;
        std::condition_variable_any arrived;
    };

    // A window owned by the calling thread; parent 0 makes it top-level, and such a window is
    // found only once shown (once, after its children exist): a finder would post to children
    // that are not there yet.
    WindowHandle Create(const Text& className, const Text& title, WindowHandle parent);
    void Show(WindowHandle topLevel);
    // Removes the window and its children; messages still queued for them are dropped.
    void Destroy(WindowHandle window);
    // The calling thread's next message in posting order, or nothing once the deadline has
    // passed or stop is requested. The thread must own a window.
    std::optional<PostedMessage> NextMessage(std::chrono::steady_clock::time_point deadline,
                                             std::stop_token stop);

    WindowHandle FindTopLevel(const Text& className, const Text& title) const;
    std::vector<WindowHandle> FindAllTopLevel(const Text& className, const Text& title) const;
    WindowHandle FindChild(WindowHandle parent, WindowHandle childAfter, const Text& className,
                           const std::optional<Text>& title) const;
    bool Post(const PostedMessage& message);

private:
    bool Matches(WindowHandle window, const Text& className,
                 const std::optional<Text>& title) const;
    void DestroyLocked(WindowHandle window, std::vector<WindowHandle>& gone);
    bool OwnsAnyWindow(std::thread::id thread) const;

    mutable std::mutex mutex_;
    std::map<WindowHandle, Window> windows_;
    std::vector<WindowHandle> topLevel_;  // in creation order
    std::map<std::thread::id, std::unique_ptr<ThreadQueue>> queues_;
    WindowHandle nextHandle_ = 0x10000;
};

}  // namespace pendrel::desk
