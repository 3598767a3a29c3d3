#pragma once
// The whole Windows program as main builds it: the window and its logic, and the services
// they use. Word is reached through COM; tests hand in an automation factory of their own, and
// a shell that records what it is asked instead of opening files.
#include "app/Form1.h"
#include "platform/win32/ComDispatch.h"
#include "platform/win32/Win32DirectoryLister.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Form1Window.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32TaskbarProgress.h"
#include "platform/win32/Win32WindowMessages.h"

namespace pendrel::programs {

struct PendrelWindows {
    // automation: nullptr for Word itself, through COM. desktopShell: nullptr for Explorer's.
    explicit PendrelWindows(AutomationFactory* automation = nullptr, Shell* desktopShell = nullptr);

    // COM first: the pictures are decoded by it and Word is reached through it.
    win32::ComApartment apartment;
    win32::Win32MessageBoxes messageBoxes;
    win32::Win32Form1Window window{messageBoxes};
    win32::Win32Screen screen;
    win32::Win32FileSystem fileSystem;
    win32::Win32DirectoryLister directoryLister;
    win32::Win32FolderBrowser folderBrowser;
    win32::Win32Program program;
    win32::Win32EventPump eventPump;
    win32::Win32WindowMessages windowMessages;
    win32::ComAutomationFactory word;
    win32::Win32Shell shell;
    win32::Win32TaskbarProgress progress;
    NoLookAhead lookAhead;
    Form1 form;
};

// Runs the thread's message loop until WM_QUIT; Tab and Shift+Tab move the window's focus.
int RunMessageLoop(HWND window);

}  // namespace pendrel::programs
