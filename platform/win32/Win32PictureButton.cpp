#include "platform/win32/Win32PictureButton.h"

namespace pendrel::win32 {

Win32PictureButton::Win32PictureButton(HWND parent, int id, HBITMAP picture, const RECT& place)
    : picture_(picture) {
    handle_ = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

Win32PictureButton::~Win32PictureButton() {
    if (picture_) DeleteObject(picture_);
}

void Win32PictureButton::SetValue(int value) {
    value_ = value;
    InvalidateRect(handle_, nullptr, TRUE);
    if (onClick) onClick();
}

void Win32PictureButton::Clicked() {
    SetValue(value_ == 0 ? 1 : 0);
}

void Win32PictureButton::Draw(const DRAWITEMSTRUCT& item) const {
    const HDC dc = item.hDC;
    RECT face = item.rcItem;
    FillRect(dc, &face, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const bool down = value_ != 0 || (item.itemState & ODS_SELECTED);
    if (picture_) {
        BITMAP info{};
        GetObjectW(picture_, sizeof(info), &info);
        const int width = face.right - face.left, height = face.bottom - face.top;
        const int shift = down ? 1 : 0;
        const HDC source = CreateCompatibleDC(dc);
        const HGDIOBJ previous = SelectObject(source, picture_);
        // Centred; BitBlt clips to the face, so a taller picture shows its middle part.
        BitBlt(dc, face.left + (width - info.bmWidth) / 2 + shift,
               face.top + (height - info.bmHeight) / 2 + shift, info.bmWidth, info.bmHeight, source,
               0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
    }
    DrawEdge(dc, &face, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = face;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace pendrel::win32
