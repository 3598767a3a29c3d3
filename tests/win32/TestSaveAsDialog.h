#pragma once
// A real "Save As" dialog (window class "#32770") on a thread of its own, as a printer
// driver shows it: a label, an "Edit" holding a pre-selected name, "&Save" and "Cancel".
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/win32/Win32Api.h"

namespace pendrel::win32::testing {

class TestSaveAsDialog {
  public:
    // onSave runs on the dialog's thread with the name in the edit box when Save is clicked;
    // closeOnSave: the dialog then goes away, as a driver's does.
    explicit TestSaveAsDialog(std::function<void(const std::wstring&)> onSave = {},
                              bool closeOnSave = true);
    ~TestSaveAsDialog();
    TestSaveAsDialog(const TestSaveAsDialog&) = delete;
    TestSaveAsDialog& operator=(const TestSaveAsDialog&) = delete;

    HWND dialog = nullptr, label = nullptr, edit = nullptr, save = nullptr, cancel = nullptr;

    // The name in the edit box when Save was first clicked, or nothing within limit.
    std::optional<std::wstring> WaitForSave(std::chrono::milliseconds limit);
    int SaveClicks();
    std::wstring EditText() const;

  private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Run();
    void Create();
    void OnSave();

    std::function<void(const std::wstring&)> onSave_;
    bool closeOnSave_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool ready_ = false;
    bool finished_ = false;
    int saveClicks_ = 0;
    std::optional<std::wstring> saved_;
    std::thread thread_;
};

}  // namespace pendrel::win32::testing
