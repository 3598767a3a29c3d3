// The controls of Form1, in creation order, at their fixed places.
#include "platform/win32/Win32Form1Window.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include "platform/Form1Layout.h"
#include "platform/win32/Pictures.h"
#include "platform/win32/ResourceIds.h"
#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

RECT PixelsOf(const Form1Layout::Place& place, int dpi) {
    const int left = TwipsToPixels(place.left, dpi), top = TwipsToPixels(place.top, dpi);
    return RECT{left, top, left + TwipsToPixels(place.width, dpi),
                top + TwipsToPixels(place.height, dpi)};
}

HBITMAP Picture(int resourceId, int dpi) {
    return LoadJpegResource(GetModuleHandleW(nullptr), resourceId, dpi);
}

void MoveTo(HWND control, const Form1Layout::Place& place, int dpi) {
    const RECT r = PixelsOf(place, dpi);
    // The stacking order is the focus order: it stays.
    SetWindowPos(control, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void Win32Form1Window::CreateControls() {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    check4_ = std::make_unique<Win32PictureButton>(handle_, Check4Id,
                                                   Picture(PENDREL_PICTURE_CHECK4, dpi_),
                                                   PixelsOf(Form1Layout::Check4, dpi_), dpi_);
    listView1_ = std::make_unique<Win32ListView>(handle_, ListView1Id,
                                                 PixelsOf(Form1Layout::ListView1, dpi_), dpi_);
    const RECT hidden = PixelsOf(Form1Layout::Command1, dpi_);
    command1_ =
        CreateWindowExW(0, L"BUTTON", Wide(Form1Layout::Command1Caption).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP, hidden.left, hidden.top,
                        hidden.right - hidden.left, hidden.bottom - hidden.top, handle_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(Command1Id)), module, nullptr);
    SendMessageW(command1_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    check2_ = std::make_unique<Win32PictureButton>(handle_, Check2Id,
                                                   Picture(PENDREL_PICTURE_CHECK2, dpi_),
                                                   PixelsOf(Form1Layout::Check2, dpi_), dpi_);
    check1_ = std::make_unique<Win32PictureButton>(handle_, Check1Id,
                                                   Picture(PENDREL_PICTURE_CHECK1, dpi_),
                                                   PixelsOf(Form1Layout::Check1, dpi_), dpi_);
    // The buttons draw pictures only: screen readers get their names and descriptions.
    check1_->SetAccessible(Form1Layout::Check1Accessible.name,
                           Form1Layout::Check1Accessible.description);
    check2_->SetAccessible(Form1Layout::Check2Accessible.name,
                           Form1Layout::Check2Accessible.description);
    check4_->SetAccessible(Form1Layout::Check4Accessible.name,
                           Form1Layout::Check4Accessible.description);

    // Tab and Shift+Tab follow the children's order: put it in the focus order. The visible
    // controls don't overlap, so the stacking this also changes shows nowhere.
    const HWND focusOrder[] = {command1_, check1_->Handle(), check2_->Handle(),
                               listView1_->Handle(), check4_->Handle()};
    HWND after = HWND_TOP;
    for (const HWND control : focusOrder) {
        SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = control;
    }

    // Every move over a control reaches the window's logic; the list's header counts as the
    // list.
    const std::pair<HWND, UINT_PTR> watched[] = {
        {check1_->Handle(), Check1Id},
        {check2_->Handle(), Check2Id},
        {check4_->Handle(), Check4Id},
        {listView1_->Handle(), ListView1Id},
        {ListView_GetHeader(listView1_->Handle()), ListView1Id}};
    for (const auto& [control, id] : watched)
        SetWindowSubclass(control, ControlProc, id, reinterpret_cast<DWORD_PTR>(this));

    toolTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, handle_,
                               nullptr, module, nullptr);
    std::wstring tip = Wide(Form1Layout::ListToolTip);
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = handle_;
    tool.uId = reinterpret_cast<UINT_PTR>(listView1_->Handle());
    tool.lpszText = tip.data();
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Win32Form1Window::ScaleControls() {
    MoveTo(check4_->Handle(), Form1Layout::Check4, dpi_);
    MoveTo(listView1_->Handle(), Form1Layout::ListView1, dpi_);
    MoveTo(command1_, Form1Layout::Command1, dpi_);
    MoveTo(check2_->Handle(), Form1Layout::Check2, dpi_);
    MoveTo(check1_->Handle(), Form1Layout::Check1, dpi_);
    listView1_->SetDpi(dpi_);
    check4_->SetPicture(Picture(PENDREL_PICTURE_CHECK4, dpi_), dpi_);
    check2_->SetPicture(Picture(PENDREL_PICTURE_CHECK2, dpi_), dpi_);
    check1_->SetPicture(Picture(PENDREL_PICTURE_CHECK1, dpi_), dpi_);
}

}  // namespace pendrel::win32
