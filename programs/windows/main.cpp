// Pendrel.exe: reads the command line, builds the program, runs the window's load step, shows
// the window and waits for events. Closing the window ends the program. Files and folders
// named on the command line (what Explorer's "Send to" passes) are queued once the window is
// up.
#include <vector>

#include "platform/AppInfo.h"
#include "platform/win32/WideText.h"
#include "programs/windows/CommandLine.h"
#include "programs/windows/PendrelWindows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace pendrel;
    // Help, version and a refused command line are answered in a message box, as the program
    // has no console to print to, and no window opens.
    const programs::CommandLine line =
        programs::ReadCommandLine(programs::ArgumentsOf(GetCommandLineW()));
    if (line.action != programs::CommandLine::Action::OpenWindow) {
        Text answer = programs::AnswerText(line);
        while (!answer.empty() && answer.back() == '\n') answer.pop_back();
        win32::Win32MessageBoxes().Show(answer, ApplicationTitle);
        return commandline::ExitStatus(line.action);
    }

    programs::PendrelWindows pendrel;
    pendrel.form.Form_Load();
    pendrel.window.Show();
    // After Show: the message naming missing paths then comes up over the window.
    if (!line.paths.empty()) pendrel.form.QueuePaths(line.paths, win32::CurrentFolder());
    return programs::RunMessageLoop(pendrel.window.Handle());
}
