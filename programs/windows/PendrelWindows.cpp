#include "programs/windows/PendrelWindows.h"

namespace pendrel::programs {

PendrelWindows::PendrelWindows(AutomationFactory* automation, Shell* desktopShell)
    : form(Form1Controls{window, window.listView1(), window.check1(), window.check2(),
                         window.check4(), window.commonDialog1()},
           Form1Services{screen, fileSystem, directoryLister, messageBoxes, folderBrowser, program,
                         eventPump, automation ? *automation : word, windowMessages,
                         desktopShell ? *desktopShell : shell, progress, lookAhead}) {
    messageBoxes.SetOwner(window.Handle());
    progress.SetWindow(window.Handle());
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

}  // namespace pendrel::programs
