// The desktop's services as Wine has them: the task bar's progress, where there may be no task
// bar at all, and the shell's ways to a file that is not there.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/win32/ComDispatch.h"
#include "platform/win32/Win32Services.h"
#include "platform/win32/Win32TaskbarProgress.h"

namespace pendrel::win32 {
namespace {

using namespace std::chrono_literals;

TEST(TaskbarProgress, AWholeRunShowsWithoutFailingOrWaiting) {
    ComApartment apartment;
    const auto started = std::chrono::steady_clock::now();
    {
        Win32TaskbarProgress beforeTheWindow;  // no window yet: nothing to show on
        beforeTheWindow.Show(0, 3, false);
        beforeTheWindow.Clear();
    }
    const HWND window = CreateWindowExW(0, L"STATIC", L"Pendrel", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                        0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Win32TaskbarProgress progress;
    progress.SetWindow(window);
    for (int run = 0; run < 2; ++run) {
        progress.Show(0, 3, false);
        progress.Show(1, 3, false);
        progress.Show(2, 3, true);
        progress.Show(3, 3, true);
        progress.Clear();
    }
    progress.Show(0, 0, false);  // an empty queue
    progress.Clear();
    DestroyWindow(window);
    progress.Show(1, 2, false);  // the window went first
    progress.Clear();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
}

TEST(Shell, AFileThatIsNotThereIsNeitherOpenedNorShown) {
    ComApartment apartment;
    Win32Shell shell;
    EXPECT_FALSE(shell.Open("C:\\nowhere\\gone.pdf"));
    EXPECT_FALSE(shell.ShowInFolder("C:\\nowhere\\gone.pdf"));
}

}  // namespace
}  // namespace pendrel::win32
