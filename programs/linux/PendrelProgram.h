#pragma once
// The whole running program as main builds it: the window and its logic, the services they
// use, the desk for the printer's dialog and the embedded document engine.
#include "app/Form1.h"
#include "platform/desk/Desk.h"
#include "platform/office/word/OfficeEngine.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "platform/qt/Form1Window.h"
#include "platform/qt/LauncherProgress.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtFolderBrowser.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtProgram.h"
#include "platform/qt/QtScreen.h"
#include "platform/qt/QtShell.h"
#include "programs/linux/SandboxSettings.h"

namespace pendrel::programs {

// The desktop entry the program is installed with, which desktops match its windows with.
inline constexpr const char* DesktopEntryName = PENDREL_APP_ID;

// Where the engine's helper is: beside the program in the build tree, or in the install
// tree's libexec folder.
Text LocateOfficeHelper(const Text& programFolder);

struct PendrelProgram {
    // officeProfile: the engine's LibreOffice profile folder; empty for its own default.
    // officePool: how many helpers render at once; 0 for one per core, as memory allows.
    // sandbox: whether the engine may render without isolation (told once, then).
    // pdfFlags: the kind of PDF written (PdfFlag bits of the engine's protocol).
    explicit PendrelProgram(const Text& officeHelper, const Text& officeProfile = {},
                            unsigned officePool = 0, const SandboxSettings& sandbox = {},
                            std::uint8_t pdfFlags = 0);

    qt::Form1Window window;
    qt::QtScreen screen;
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister directoryLister;
    qt::QtMessageBoxes messageBoxes{&window};
    qt::QtFolderBrowser folderBrowser{&window};
    qt::QtProgram program;
    qt::QtEventPump eventPump;
    qt::QtShell shell;
    qt::LauncherProgress progress{QString::fromUtf8(DesktopEntryName)};
    desk::Desk desk;
    office::OfficeEngine engine;
    Form1 form;

private:
    // A message box over the window, shown from the window's thread.
    void ShowFromAnyThread(const std::string& text);
};

}  // namespace pendrel::programs
