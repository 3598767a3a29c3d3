#include "platform/win32/Win32Form1Window.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include <cmath>

#include "platform/Form1Layout.h"
#include "platform/win32/ResourceIds.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"

namespace pendrel::win32 {
namespace {

// A resizable frame with a title bar, minimise and close but no maximise button.
constexpr DWORD FrameStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME;
// Files and folders dropped from Explorer are queued as the buttons queue them.
constexpr DWORD FrameExStyle = WS_EX_ACCEPTFILES;

// The outer size of the window whose client area is the layout's, on a screen of dpi.
SIZE LayoutSize(int dpi) {
    return OuterSize(TwipsToPixels(Form1Layout::ClientWidth, dpi),
                     TwipsToPixels(Form1Layout::ClientHeight, dpi), FrameStyle, FrameExStyle, dpi);
}

void RegisterWindowClass(HINSTANCE module) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(module, Win32Form1Window::ClassName, &windowClass)) return;
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;  // replaced per window at creation
    windowClass.hInstance = module;
    windowClass.hIcon = LoadIconW(module, MAKEINTRESOURCEW(PENDREL_ICON));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = nullptr;  // WM_SETCURSOR chooses it
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = Win32Form1Window::ClassName;
    RegisterClassExW(&windowClass);
}

}  // namespace

Win32Form1Window::Win32Form1Window(MessageBoxes& messages) : commonDialog1_(messages) {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    RegisterWindowClass(module);
    const SIZE size = LayoutSize(LayoutDpi);
    handle_ = CreateWindowExW(FrameExStyle, ClassName, Wide(Form1Layout::DesignCaption).c_str(),
                              FrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                              nullptr, module, nullptr);
    // Only now is the monitor known, and with it the DPI to draw for; the window is not shown
    // yet.
    dpi_ = WindowDpi(handle_);
    if (dpi_ != LayoutDpi) {
        const SIZE scaled = LayoutSize(dpi_);
        SetWindowPos(handle_, nullptr, 0, 0, scaled.cx, scaled.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowLongPtrW(handle_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc));
    CreateControls();
    commonDialog1_.SetOwner(handle_);
}

Win32Form1Window::~Win32Form1Window() {
    handlers_ = nullptr;
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    // The buttons first: each takes back its screen-reader texts while its window is there.
    check1_.reset();
    check2_.reset();
    check4_.reset();
    DestroyWindow(handle_);
    if (mouseIcon_) DestroyCursor(mouseIcon_);
}

void Win32Form1Window::Connect(Form1Events& handlers) {
    handlers_ = &handlers;
    check1_->onClick = [&handlers] { handlers.Check1_Click(); };
    check2_->onClick = [&handlers] { handlers.Check2_Click(); };
    check4_->onClick = [&handlers] { handlers.Check4_Click(); };
}

void Win32Form1Window::Show() {
    ShowWindow(handle_, SW_SHOW);
    UpdateWindow(handle_);
    // The hidden button holds the focus at first, so no visible control shows a focus mark.
    SetFocus(command1_);
}

RECT Win32Form1Window::OuterRect() const {
    RECT outer{};
    GetWindowRect(handle_, &outer);
    return outer;
}

// Twips of the layout, whatever the monitor: pixels are converted at the window's DPI.
float Win32Form1Window::Left() const {
    return PixelsToTwips(OuterRect().left, dpi_);
}
float Win32Form1Window::Top() const {
    return PixelsToTwips(OuterRect().top, dpi_);
}
float Win32Form1Window::Width() const {
    const RECT r = OuterRect();
    return PixelsToTwips(r.right - r.left, dpi_);
}
float Win32Form1Window::Height() const {
    const RECT r = OuterRect();
    return PixelsToTwips(r.bottom - r.top, dpi_);
}

void Win32Form1Window::SetLeft(float twips) {
    SetWindowPos(handle_, nullptr, TwipsToPixels(twips, dpi_), OuterRect().top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void Win32Form1Window::SetTop(float twips) {
    SetWindowPos(handle_, nullptr, OuterRect().left, TwipsToPixels(twips, dpi_), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Text Win32Form1Window::Caption() const {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(handle_)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(handle_, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void Win32Form1Window::SetCaption(const Text& caption) {
    SetWindowTextW(handle_, Wide(caption).c_str());
}

HCURSOR Win32Form1Window::CurrentCursor() const {
    switch (pointer_) {
        case MousePointer::Busy:
            return LoadCursorW(nullptr, IDC_WAIT);
        case MousePointer::Custom:
            return mouseIcon_ ? mouseIcon_ : LoadCursorW(nullptr, IDC_HAND);
        default:
            return LoadCursorW(nullptr, IDC_ARROW);
    }
}

void Win32Form1Window::SetMousePointer(int setting) {
    pointer_ = setting;
    // Shown at once where the mouse already is over the window, not at its next move.
    POINT at{};
    if (!GetCursorPos(&at)) return;
    const HWND under = WindowFromPoint(at);
    if (under == handle_ || IsChild(handle_, under)) SetCursor(CurrentCursor());
}

void Win32Form1Window::SetMouseIcon(const Text& imageFile) {
    if (mouseIcon_) DestroyCursor(mouseIcon_);
    // An unreadable image is no error: the system's pointing hand stands in for it.
    mouseIcon_ = LoadCursorFromFileW(Wide(imageFile).c_str());
}

LRESULT CALLBACK Win32Form1Window::WindowProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    auto* self = reinterpret_cast<Win32Form1Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    return self->OnMessage(message, wParam, lParam);
}

LRESULT CALLBACK Win32Form1Window::ControlProc(HWND control, UINT message, WPARAM wParam,
                                               LPARAM lParam, UINT_PTR id, DWORD_PTR self) {
    if (message == WM_MOUSEMOVE) reinterpret_cast<Win32Form1Window*>(self)->OnControlMouseMove(id);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, ControlProc, id);
    return DefSubclassProc(control, message, wParam, lParam);
}

LRESULT Win32Form1Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SETCURSOR:
            // One setting for the window and every control on it; the frame keeps its own.
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(CurrentCursor());
                return TRUE;
            }
            break;
        case WM_MOUSEMOVE:
            if (handlers_) handlers_->Form_MouseMove();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == ListView1Id && header->code == NM_DBLCLK && handlers_)
                handlers_->ListView1_DblClick();
            if (header->idFrom == ListView1Id && header->code == NM_RCLICK && handlers_)
                OnItemRightClick(*reinterpret_cast<const NMITEMACTIVATE*>(lParam));
            break;
        }
        case WM_CONTEXTMENU: {
            // The menu key or Shift+F10 on the list: the menu of its focused item.
            if (reinterpret_cast<HWND>(wParam) != listView1_->Handle() || !handlers_) break;
            if (GET_X_LPARAM(lParam) != -1 || GET_Y_LPARAM(lParam) != -1) return 0;
            const int row = ListView_GetNextItem(listView1_->Handle(), -1, LVNI_FOCUSED);
            if (row < 0) return 0;
            RECT item{};
            ListView_GetItemRect(listView1_->Handle(), row, &item, LVIR_LABEL);
            POINT at{item.left, item.bottom};
            ClientToScreen(listView1_->Handle(), &at);
            listView1_->MenuAskedAt(at);
            handlers_->ListView1_ItemMenu(static_cast<std::size_t>(row) + 1);
            return 0;
        }
        case GetDpiScaledSizeMessage:
            *reinterpret_cast<SIZE*>(lParam) = DpiScaledSize(static_cast<int>(wParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_ACTIVATE:
            // A plain window does not keep its focus across deactivation as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                savedFocus_ = GetFocus();
            } else if (savedFocus_ && IsChild(handle_, savedFocus_)) {
                SetFocus(savedFocus_);
                return 0;
            }
            break;
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_CLOSE:
            // Closing is never refused; the unload handler ends the program.
            if (handlers_) handlers_->Form_Unload();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(handle_, message, wParam, lParam);
}

// Moved to a monitor of another DPI, or the user changed the monitor's: the client area keeps
// its size in twips, and the frame is measured for the new DPI.
SIZE Win32Form1Window::DpiScaledSize(int dpi) const {
    RECT client{};
    GetClientRect(handle_, &client);
    return OuterSize(TwipsToPixels(PixelsToTwips(client.right, dpi_), dpi),
                     TwipsToPixels(PixelsToTwips(client.bottom, dpi_), dpi), FrameStyle,
                     FrameExStyle, dpi);
}

void Win32Form1Window::OnDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    ScaleControls();
    // Where the system asks: the rectangle keeps the window on the monitor that changed it.
    SetWindowPos(handle_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Form1Window::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    // Command1, Enter (IDOK) and Esc (IDCANCEL) do nothing.
    if (id == Check1Id) check1_->Clicked();
    if (id == Check2Id) check2_->Clicked();
    if (id == Check4Id) check4_->Clicked();
}

void Win32Form1Window::OnDropFiles(HDROP drop) {
    std::vector<Text> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        paths.push_back(Narrow(path));
    }
    DragFinish(drop);
    if (handlers_ && !paths.empty()) handlers_->QueuePaths(paths, CurrentFolder());
}

Text CurrentFolder() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return Narrow(folder);
}

void Win32Form1Window::OnItemRightClick(const NMITEMACTIVATE& click) {
    if (click.iItem < 0) return;  // the empty part of the list has no menu
    POINT at = click.ptAction;
    ClientToScreen(listView1_->Handle(), &at);
    listView1_->MenuAskedAt(at);
    handlers_->ListView1_ItemMenu(static_cast<std::size_t>(click.iItem) + 1);
}

void Win32Form1Window::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlID == Check1Id) check1_->Draw(item);
    if (item.CtlID == Check2Id) check2_->Draw(item);
    if (item.CtlID == Check4Id) check4_->Draw(item);
}

void Win32Form1Window::OnControlMouseMove(UINT_PTR id) {
    if (!handlers_) return;
    if (id == Check1Id) handlers_->Check1_MouseMove();
    if (id == Check2Id) handlers_->Check2_MouseMove();
    if (id == Check4Id) handlers_->Check4_MouseMove();
    if (id == ListView1Id) handlers_->ListView1_MouseMove();
}

}  // namespace pendrel::win32
