#pragma once
// Lets the window's messages through while a conversion waits: a PeekMessage loop, asleep in
// MsgWaitForMultipleObjects in between. Tab and Shift+Tab keep working (IsDialogMessage).
#include <chrono>

#include "platform/Desktop.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

// Handles every message waiting for the calling thread. False once WM_QUIT was seen (it is
// posted again, so the outer loop sees it too).
bool DispatchWaitingMessages(HWND dialogWindow);

class Win32EventPump : public EventPump {
public:
    Win32EventPump();
    ~Win32EventPump() override;
    Win32EventPump(const Win32EventPump&) = delete;
    Win32EventPump& operator=(const Win32EventPump&) = delete;

    // The window whose keyboard navigation IsDialogMessage handles.
    void SetDialogWindow(HWND window) { dialogWindow_ = window; }

    void ProcessPendingMessages(std::chrono::milliseconds maxWait) override;
    void Wake() override;

private:
    HANDLE woken_;  // auto-reset: one Wake ends one wait
    HWND dialogWindow_ = nullptr;
};

}  // namespace pendrel::win32
