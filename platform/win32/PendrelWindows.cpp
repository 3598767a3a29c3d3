#include "platform/win32/PendrelWindows.h"

namespace pendrel::win32 {

PendrelWindows::PendrelWindows(AutomationFactory* automation)
    : form(window.Controls(),
           Form1Services{screen, fileSystem, directoryLister, messageBoxes, folderBrowser, program,
                         eventPump, automation ? *automation : word, windowMessages}) {
    messageBoxes.SetOwner(window.Handle());
    eventPump.SetDialogWindow(window.Handle());
    window.Connect(form);
}

int RunMessageLoop(HWND window) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace pendrel::win32
