#include "platform/win32/Win32WindowMessages.h"

#include "platform/win32/Win32Api.h"

#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

HWND AsHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}
WindowHandle AsHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// Class names and titles are compared as FindWindow compares them: without regard to case.
bool SameText(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TitleOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, title.data(), length + 1);
    title.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return title;
}

bool Matches(HWND window, const std::wstring& className, const std::wstring* title) {
    return SameText(ClassOf(window), className) && (!title || SameText(TitleOf(window), *title));
}

struct TopLevelSearch {
    std::wstring className;
    std::wstring title;
    std::vector<WindowHandle> found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM search) {
    auto& s = *reinterpret_cast<TopLevelSearch*>(search);
    if (Matches(window, s.className, &s.title)) s.found.push_back(AsHandle(window));
    return TRUE;
}

}  // namespace

WindowHandle Win32WindowMessages::FindWindow(const Text& className, const Text& title) {
    return AsHandle(FindWindowW(Wide(className).c_str(), Wide(title).c_str()));
}

std::vector<WindowHandle> Win32WindowMessages::FindWindows(const Text& className,
                                                           const Text& title) {
    TopLevelSearch search{Wide(className), Wide(title), {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

WindowHandle Win32WindowMessages::FindWindowEx(WindowHandle parent, WindowHandle childAfter,
                                               const Text& className,
                                               const std::optional<Text>& title) {
    const HWND owner = AsHwnd(parent);
    if (owner == nullptr) {
        const std::wstring wideTitle = title ? Wide(*title) : std::wstring();
        return AsHandle(FindWindowExW(nullptr, AsHwnd(childAfter), Wide(className).c_str(),
                                      title ? wideTitle.c_str() : nullptr));
    }
    HWND child;
    if (childAfter == 0) {
        child = GetWindow(owner, GW_CHILD);
    } else {
        // A "child after" that is not a child of parent finds nothing, as on Windows.
        if (GetParent(AsHwnd(childAfter)) != owner) return 0;
        child = GetWindow(AsHwnd(childAfter), GW_HWNDNEXT);
    }
    const std::wstring wideClass = Wide(className);
    const std::wstring wideTitle = title ? Wide(*title) : std::wstring();
    for (; child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (Matches(child, wideClass, title ? &wideTitle : nullptr)) return AsHandle(child);
    }
    return 0;
}

bool Win32WindowMessages::PostMessage(WindowHandle window, std::uint32_t message,
                                      std::uintptr_t wParam, std::intptr_t lParam) {
    return PostMessageW(AsHwnd(window), message, wParam, lParam) != FALSE;
}

}  // namespace pendrel::win32
