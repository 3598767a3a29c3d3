#include "tests/win32/TestSaveAsDialog.h"

namespace pendrel::win32::testing {
namespace {

constexpr int EditId = 0x47C;

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int id, int x,
           int y, int width) {
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, 24,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

TestSaveAsDialog::TestSaveAsDialog(std::function<void(const std::wstring&)> onSave,
                                   bool closeOnSave)
    : onSave_(std::move(onSave)), closeOnSave_(closeOnSave) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ready_; });
}

TestSaveAsDialog::~TestSaveAsDialog() {
    {
        std::lock_guard lock(mutex_);
        if (!finished_) PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
    thread_.join();
}

void TestSaveAsDialog::Create() {
    dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, L"#32770", L"Save As",
                             WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 300, 200, 420, 120,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(DialogProc));
    label = Child(dialog, L"Static", L"File &name:", 0, -1, 10, 12, 80);
    edit = Child(dialog, L"Edit", L"Document1.pdf", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, EditId,
                 95, 10, 300);
    save = Child(dialog, L"Button", L"&Save", WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, 210, 50, 90);
    cancel = Child(dialog, L"Button", L"Cancel", WS_TABSTOP, IDCANCEL, 305, 50, 90);
    // The proposed name is selected, so typing replaces it.
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
}

void TestSaveAsDialog::Run() {
    Create();
    {
        std::lock_guard lock(mutex_);
        ready_ = true;
    }
    changed_.notify_all();
    MSG message;
    while (IsWindow(dialog) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(dialog, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    std::lock_guard lock(mutex_);
    finished_ = true;
    changed_.notify_all();
}

void TestSaveAsDialog::OnSave() {
    const std::wstring name = EditText();
    if (onSave_) onSave_(name);
    {
        std::lock_guard lock(mutex_);
        ++saveClicks_;
        if (!saved_) saved_ = name;
        if (closeOnSave_) finished_ = true;
    }
    changed_.notify_all();
    if (closeOnSave_) DestroyWindow(dialog);
}

INT_PTR CALLBACK TestSaveAsDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    auto* self = reinterpret_cast<TestSaveAsDialog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return FALSE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        self->OnSave();
        return TRUE;
    }
    if (message == WM_CLOSE || (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL)) {
        DestroyWindow(window);
        return TRUE;
    }
    return FALSE;
}

std::optional<std::wstring> TestSaveAsDialog::WaitForSave(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    changed_.wait_for(lock, limit, [this] { return saved_.has_value(); });
    return saved_;
}

int TestSaveAsDialog::SaveClicks() {
    std::lock_guard lock(mutex_);
    return saveClicks_;
}

std::wstring TestSaveAsDialog::EditText() const {
    wchar_t text[1024] = {};
    GetWindowTextW(edit, text, 1024);
    return text;
}

}  // namespace pendrel::win32::testing
