// Pendrel.exe: builds the program, runs the window's load step, shows the window and waits
// for events. Closing the window ends the program. Files and folders named on the command
// line (what Explorer's "Send to" passes) are queued once the window is up.
#include <vector>

#include "platform/win32/WideText.h"
#include "programs/windows/PendrelWindows.h"

#include <shellapi.h>

namespace {

// Every argument after the program's name is a path: the program has no options.
std::vector<pendrel::Text> PathArguments() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<pendrel::Text> paths;
    for (int i = 1; arguments && i < count; ++i)
        paths.push_back(pendrel::win32::Narrow(arguments[i]));
    LocalFree(arguments);
    return paths;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pendrel::programs::PendrelWindows pendrel;
    pendrel.form.Form_Load();
    pendrel.window.Show();
    // After Show: the message naming missing paths then comes up over the window.
    const std::vector<pendrel::Text> paths = PathArguments();
    if (!paths.empty()) pendrel.form.QueuePaths(paths, pendrel::win32::CurrentFolder());
    return pendrel::programs::RunMessageLoop(pendrel.window.Handle());
}
