#include "platform/win32/Win32EventPump.h"

namespace pendrel::win32 {

bool DispatchWaitingMessages(HWND dialogWindow) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        if (dialogWindow && IsDialogMessageW(dialogWindow, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return true;
}

Win32EventPump::Win32EventPump() : woken_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

Win32EventPump::~Win32EventPump() {
    CloseHandle(woken_);
}

void Win32EventPump::ProcessPendingMessages(std::chrono::milliseconds maxWait) {
    if (!DispatchWaitingMessages(dialogWindow_)) return;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + maxWait;
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        const DWORD wait = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(1, &woken_, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) return;  // woken, or the time is up
        if (!DispatchWaitingMessages(dialogWindow_)) return;
        if (wait == 0) return;
    }
}

void Win32EventPump::Wake() {
    SetEvent(woken_);
}

}  // namespace pendrel::win32
