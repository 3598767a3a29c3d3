#include "platform/win32/Win32Services.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"

namespace pendrel::win32 {
// The primary monitor in the twips the window is placed in: both are converted at the DPI of
// the monitor, so the window centres on it.
float Win32Screen::WidthTwips() const {
    return PixelsToTwips(GetSystemMetrics(SM_CXSCREEN), SystemDpi());
}

float Win32Screen::HeightTwips() const {
    return PixelsToTwips(GetSystemMetrics(SM_CYSCREEN), SystemDpi());
}

void Win32MessageBoxes::Show(const Text& text, const Text& title) {
    if (autoAnswer_) {
        shown_.push_back({text, title});
        return;
    }
    MessageBoxW(owner_, Wide(text).c_str(), Wide(title).c_str(), MB_OK);
}

Text Win32FolderBrowser::Browse(WindowHandle owner, const Text& title) {
    if (nextFolder_) {
        const Text folder = *nextFolder_;
        nextFolder_.reset();
        return folder;
    }
    const std::wstring wideTitle = Wide(title);
    BROWSEINFOW info{};
    info.hwndOwner = reinterpret_cast<HWND>(owner);
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return {};
    wchar_t path[MAX_PATH + 1] = {};
    SHGetPathFromIDListW(chosen, path);
    CoTaskMemFree(chosen);
    return Narrow(path);  // empty when the item has no file-system path
}

bool Win32Shell::Open(const Text& path) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", Wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;  // ShellExecute's results up to 32 are errors
}

bool Win32Shell::ShowInFolder(const Text& path) {
    PIDLIST_ABSOLUTE item = ILCreateFromPathW(Wide(path).c_str());
    if (!item) return false;
    const HRESULT shown = SHOpenFolderAndSelectItems(item, 0, nullptr, 0);
    ILFree(item);
    return SUCCEEDED(shown);
}

Text Win32Program::Folder() const {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // a long path was cut short: try again with more room
    }
    const auto slash = path.find_last_of(L"\\/");
    return Narrow(slash == std::wstring::npos ? std::wstring() : path.substr(0, slash));
}

void Win32Program::End() {
    if (onEnd) {
        onEnd();
        return;
    }
    // At once, whatever is running: a conversion waiting for the printer is abandoned.
    ExitProcess(0);
}

}  // namespace pendrel::win32
