#pragma once
// A run's progress on the window's task bar button (ITaskbarList3): a bar while it runs, red
// once a document has failed, gone at the end. Where there is no task bar, nothing happens.
#include "platform/Desktop.h"
#include "platform/win32/Win32Api.h"

struct ITaskbarList3;

namespace pendrel::win32 {

class Win32TaskbarProgress : public RunProgress {
public:
    ~Win32TaskbarProgress() override;
    void SetWindow(HWND window) { window_ = window; }

    void Show(std::size_t done, std::size_t total, bool failed) override;
    void Clear() override;

private:
    ITaskbarList3* Taskbar();

    HWND window_ = nullptr;
    ITaskbarList3* taskbar_ = nullptr;
    bool unavailable_ = false;
};

}  // namespace pendrel::win32
