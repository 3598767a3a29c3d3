#pragma once
// A real "Save As" dialog (window class "#32770") on a thread of its own, as a printer
// driver shows it: a label, an "Edit" holding a pre-selected name, "&Save" and "Cancel".
// It stays open after Save, so that a second click would be counted.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Win32Api.h"

namespace pendrel::win32::testing {

class TestSaveAsDialog {
public:
    // onSave runs on the dialog's thread with the name in the edit box when Save is clicked.
    explicit TestSaveAsDialog(std::function<void(const std::wstring&)> onSave = {})
        : onSave_(std::move(onSave)), thread_([this] { Run(); }) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return dialog != nullptr; });
    }
    ~TestSaveAsDialog() {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        thread_.join();
    }

    HWND dialog = nullptr, edit = nullptr;

    // The name in the edit box when Save was first clicked, or nothing within limit.
    std::optional<std::wstring> WaitForSave(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, limit, [this] { return !saves_.empty(); })) return {};
        return saves_.front();
    }
    std::size_t SaveClicks() {
        std::lock_guard lock(mutex_);
        return saves_.size();
    }
    std::wstring EditText() const {
        wchar_t text[1024] = {};
        GetWindowTextW(edit, text, 1024);
        return text;
    }

private:
    static HWND Child(HWND parent, const wchar_t* type, const wchar_t* text, DWORD style, int id,
                      int x, int y, int width) {
        return CreateWindowExW(0, type, text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y,
                               width, 24, parent, reinterpret_cast<HMENU>(INT_PTR{id}),
                               GetModuleHandleW(nullptr), nullptr);
    }

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM) {
        auto* self = reinterpret_cast<TestSaveAsDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND && LOWORD(wParam) == IDOK) {
            const std::wstring name = self->EditText();
            if (self->onSave_) self->onSave_(name);
            std::lock_guard lock(self->mutex_);
            self->saves_.push_back(name);
            self->changed_.notify_all();
            return TRUE;
        }
        if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
            DestroyWindow(window);
            return TRUE;
        }
        return FALSE;
    }

    void Run() {
        const HWND made = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Save As",
                                          WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 200,
                                          420, 120, nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(made, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(made, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(Proc));
        Child(made, L"Static", L"File &name:", 0, -1, 10, 12, 80);
        const HWND box =
            Child(made, L"Edit", L"Document1.pdf", WS_BORDER | ES_AUTOHSCROLL, 0x47C, 95, 10, 300);
        Child(made, L"Button", L"&Save", BS_DEFPUSHBUTTON, IDOK, 210, 50, 90);
        Child(made, L"Button", L"Cancel", 0, IDCANCEL, 305, 50, 90);
        // The proposed name is selected, so typing replaces it.
        SetFocus(box);
        SendMessageW(box, EM_SETSEL, 0, -1);
        {
            std::lock_guard lock(mutex_);
            edit = box;
            dialog = made;
        }
        changed_.notify_all();
        MSG message;
        while (IsWindow(made) && GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (IsDialogMessageW(made, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    std::function<void(const std::wstring&)> onSave_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::wstring> saves_;
    std::thread thread_;  // last: it runs on the members above
};

}  // namespace pendrel::win32::testing
