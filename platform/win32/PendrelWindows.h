#pragma once
// The whole Windows program as main builds it: the window and its logic, and the services
// they use. Word is reached through COM; tests hand in an automation factory of their own.
#include "app/Form1.h"
#include "platform/win32/ComDispatch.h"
#include "platform/win32/Win32DirectoryLister.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Form1Window.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32WindowMessages.h"

namespace pendrel::win32 {

struct PendrelWindows {
    // automation: nullptr for Word itself, through COM.
    explicit PendrelWindows(AutomationFactory* automation = nullptr);

    // COM first: the pictures are decoded by it and Word is reached through it.
    ComApartment apartment;
    Win32MessageBoxes messageBoxes;
    Win32Form1Window window{messageBoxes};
    Win32Screen screen;
    Win32FileSystem fileSystem;
    Win32DirectoryLister directoryLister;
    Win32FolderBrowser folderBrowser;
    Win32Program program;
    Win32EventPump eventPump;
    Win32WindowMessages windowMessages;
    ComAutomationFactory word;
    Form1 form;
};

// Runs the thread's message loop until WM_QUIT; Tab and Shift+Tab move the window's focus.
int RunMessageLoop(HWND window);

}  // namespace pendrel::win32
