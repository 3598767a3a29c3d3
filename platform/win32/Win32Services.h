#pragma once
// The small services the window's logic uses: screen, message boxes, the folder browser and
// the program itself.
#include <functional>
#include <optional>
#include <vector>

#include "platform/Desktop.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

class Win32Screen : public Screen {
public:
    float WidthTwips() const override;
    float HeightTwips() const override;
};

// MessageBoxW with OK only and no icon, over the owner window.
class Win32MessageBoxes : public MessageBoxes {
public:
    struct Shown {
        Text text;
        Text title;
    };

    void SetOwner(HWND owner) { owner_ = owner; }
    void Show(const Text& text, const Text& title) override;

    // For tests: record each message instead of showing it, so nothing waits for a user.
    void setAutoAnswer(bool on) { autoAnswer_ = on; }
    const std::vector<Shown>& shown() const { return shown_; }

private:
    HWND owner_ = nullptr;
    bool autoAnswer_ = false;
    std::vector<Shown> shown_;
};

// The shell's folder browser: SHBrowseForFolderW, SHGetPathFromIDListW, CoTaskMemFree.
class Win32FolderBrowser : public FolderBrowser {
public:
    Text Browse(WindowHandle owner, const Text& title) override;

    // For tests: the next Browse yields this path (empty: as if cancelled) without showing.
    void setNextFolder(const Text& folder) { nextFolder_ = folder; }

private:
    std::optional<Text> nextFolder_;
};

// Files opened with ShellExecuteW and shown selected with SHOpenFolderAndSelectItems.
class Win32Shell : public Shell {
public:
    bool Open(const Text& path) override;
    bool ShowInFolder(const Text& path) override;
};

class Win32Program : public Program {
public:
    Text Folder() const override;
    void End() override;

    // For tests: End calls this instead of ending the process.
    std::function<void()> onEnd;
};

}  // namespace pendrel::win32
