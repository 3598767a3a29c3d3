#include "platform/desk/Desk.h"

#include <algorithm>

#include "platform/desk/DeskImpl.h"
#include "platform/text/SameText.h"

namespace pendrel::desk {

WindowHandle Desk::Impl::Create(const Text& className, const Text& title, WindowHandle parent) {
    std::lock_guard lock(mutex_);
    const WindowHandle handle = nextHandle_++;
    const auto owner = std::this_thread::get_id();
    windows_[handle] = Window{className, title, parent, {}, owner};
    if (parent != 0) windows_.at(parent).children.push_back(handle);
    if (queues_.count(owner) == 0) queues_[owner] = std::make_unique<ThreadQueue>();
    return handle;
}

void Desk::Impl::Show(WindowHandle topLevel) {
    std::lock_guard lock(mutex_);
    if (windows_.count(topLevel) != 0) topLevel_.push_back(topLevel);
}

void Desk::Impl::Destroy(WindowHandle window) {
    std::lock_guard lock(mutex_);
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;
    const auto owner = found->second.owner;
    const WindowHandle parent = found->second.parent;
    if (parent == 0) {
        std::erase(topLevel_, window);
    } else if (const auto p = windows_.find(parent); p != windows_.end()) {
        std::erase(p->second.children, window);
    }
    std::vector<WindowHandle> gone;
    DestroyLocked(window, gone);
    if (const auto q = queues_.find(owner); q != queues_.end()) {
        std::erase_if(q->second->messages, [&](const PostedMessage& m) {
            return std::find(gone.begin(), gone.end(), m.window) != gone.end();
        });
        if (!OwnsAnyWindow(owner)) queues_.erase(q);
    }
}

void Desk::Impl::DestroyLocked(WindowHandle window, std::vector<WindowHandle>& gone) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;
    const auto children = found->second.children;
    windows_.erase(found);
    gone.push_back(window);
    for (const WindowHandle child : children) DestroyLocked(child, gone);
}

bool Desk::Impl::OwnsAnyWindow(std::thread::id thread) const {
    return std::any_of(windows_.begin(), windows_.end(),
                       [&](const auto& entry) { return entry.second.owner == thread; });
}

std::optional<PostedMessage> Desk::Impl::NextMessage(std::chrono::steady_clock::time_point deadline,
                                                     std::stop_token stop) {
    std::unique_lock lock(mutex_);
    ThreadQueue& queue = *queues_.at(std::this_thread::get_id());
    if (!queue.arrived.wait_until(lock, stop, deadline, [&] { return !queue.messages.empty(); })) {
        return std::nullopt;
    }
    PostedMessage next = queue.messages.front();
    queue.messages.pop_front();
    return next;
}

bool Desk::Impl::Matches(WindowHandle window, const Text& className,
                         const std::optional<Text>& title) const {
    const Window& w = windows_.at(window);
    return SameTextIgnoringCase(w.className, className) &&
           (!title || SameTextIgnoringCase(w.title, *title));
}

WindowHandle Desk::Impl::FindTopLevel(const Text& className, const Text& title) const {
    std::lock_guard lock(mutex_);
    for (const WindowHandle w : topLevel_) {
        if (Matches(w, className, title)) return w;
    }
    return 0;
}

std::vector<WindowHandle> Desk::Impl::FindAllTopLevel(const Text& className,
                                                      const Text& title) const {
    std::lock_guard lock(mutex_);
    std::vector<WindowHandle> found;
    for (const WindowHandle w : topLevel_) {
        if (Matches(w, className, title)) found.push_back(w);
    }
    return found;
}

WindowHandle Desk::Impl::FindChild(WindowHandle parent, WindowHandle childAfter,
                                   const Text& className, const std::optional<Text>& title) const {
    std::lock_guard lock(mutex_);
    const std::vector<WindowHandle>* candidates = &topLevel_;
    if (parent != 0) {
        const auto p = windows_.find(parent);
        if (p == windows_.end()) return 0;
        candidates = &p->second.children;
    }
    auto from = candidates->begin();
    if (childAfter != 0) {
        from = std::find(candidates->begin(), candidates->end(), childAfter);
        // A "child after" that is not a child of the parent finds nothing.
        if (from == candidates->end()) return 0;
        ++from;
    }
    const auto hit = std::find_if(from, candidates->end(),
                                  [&](WindowHandle w) { return Matches(w, className, title); });
    return hit == candidates->end() ? 0 : *hit;
}

bool Desk::Impl::Post(const PostedMessage& message) {
    std::lock_guard lock(mutex_);
    const auto window = windows_.find(message.window);
    if (window == windows_.end()) return false;
    ThreadQueue& queue = *queues_.at(window->second.owner);
    queue.messages.push_back(message);
    queue.arrived.notify_all();
    return true;
}

Desk::Desk() : impl_(std::make_unique<Impl>()) {}
Desk::~Desk() = default;

WindowHandle Desk::FindWindow(const Text& className, const Text& title) {
    return impl_->FindTopLevel(className, title);
}

std::vector<WindowHandle> Desk::FindWindows(const Text& className, const Text& title) {
    return impl_->FindAllTopLevel(className, title);
}

WindowHandle Desk::FindWindowEx(WindowHandle parent, WindowHandle childAfter, const Text& className,
                                const std::optional<Text>& title) {
    return impl_->FindChild(parent, childAfter, className, title);
}

bool Desk::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    return impl_->Post({window, message, wParam, lParam});
}

}  // namespace pendrel::desk
