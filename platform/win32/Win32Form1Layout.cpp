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

RECT PixelsOf(const Form1Layout::Place& place) {
    const int left = TwipsToPixels(place.left), top = TwipsToPixels(place.top);
    return RECT{left, top, left + TwipsToPixels(place.width), top + TwipsToPixels(place.height)};
}

HBITMAP Picture(int resourceId) {
    return LoadJpegResource(GetModuleHandleW(nullptr), resourceId);
}

}  // namespace

void Win32Form1Window::CreateControls() {
    const HINSTANCE module = GetModuleHandleW(nullptr);
    check4_ = std::make_unique<Win32PictureButton>(
        handle_, Check4Id, Picture(PENDREL_PICTURE_CHECK4), PixelsOf(Form1Layout::Check4));
    listView1_ =
        std::make_unique<Win32ListView>(handle_, ListView1Id, PixelsOf(Form1Layout::ListView1));
    const RECT hidden = PixelsOf(Form1Layout::Command1);
    command1_ =
        CreateWindowExW(0, L"BUTTON", Wide(Form1Layout::Command1Caption).c_str(),
                        WS_CHILD | WS_VISIBLE | WS_TABSTOP, hidden.left, hidden.top,
                        hidden.right - hidden.left, hidden.bottom - hidden.top, handle_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(Command1Id)), module, nullptr);
    SendMessageW(command1_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 FALSE);
    check2_ = std::make_unique<Win32PictureButton>(
        handle_, Check2Id, Picture(PENDREL_PICTURE_CHECK2), PixelsOf(Form1Layout::Check2));
    check1_ = std::make_unique<Win32PictureButton>(
        handle_, Check1Id, Picture(PENDREL_PICTURE_CHECK1), PixelsOf(Form1Layout::Check1));

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

}  // namespace pendrel::win32
