// Pendrel.exe: builds the program, runs the window's load step, shows the window and waits
// for events. Closing the window ends the program.
#include "platform/win32/PendrelWindows.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    pendrel::win32::PendrelWindows pendrel;
    pendrel.form.Form_Load();
    pendrel.window.Show();
    return pendrel::win32::RunMessageLoop(pendrel.window.Handle());
}
