#include "platform/win32/Win32TaskbarProgress.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <shobjidl.h>

namespace pendrel::win32 {

Win32TaskbarProgress::~Win32TaskbarProgress() {
    if (taskbar_) taskbar_->Release();
}

ITaskbarList3* Win32TaskbarProgress::Taskbar() {
    if (taskbar_ || unavailable_ || !window_) return taskbar_;
    ITaskbarList3* taskbar = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_ITaskbarList3, reinterpret_cast<void**>(&taskbar))) &&
        SUCCEEDED(taskbar->HrInit())) {
        taskbar_ = taskbar;
    } else {
        if (taskbar) taskbar->Release();
        unavailable_ = true;  // no shell task bar: asked once, not for every document
    }
    return taskbar_;
}

void Win32TaskbarProgress::Show(std::size_t done, std::size_t total, bool failed) {
    ITaskbarList3* taskbar = Taskbar();
    if (!taskbar) return;
    // The value first: setting it turns a bar that shows nothing into a normal one, and the
    // state then makes it red once something failed. Failures are ignored: the task bar may
    // not have made the window's button yet, or may be gone.
    taskbar->SetProgressValue(window_, done, total == 0 ? 1 : total);
    taskbar->SetProgressState(window_, failed ? TBPF_ERROR : TBPF_NORMAL);
}

void Win32TaskbarProgress::Clear() {
    if (ITaskbarList3* taskbar = Taskbar()) taskbar->SetProgressState(window_, TBPF_NOPROGRESS);
}

}  // namespace pendrel::win32
