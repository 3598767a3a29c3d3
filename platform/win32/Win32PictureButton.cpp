#include "platform/win32/Win32PictureButton.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <oleacc.h>

#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

// Lengths in pixels at 96 DPI, scaled to the button's.
int Scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, LayoutDpi);
}

}  // namespace

Win32PictureButton::Win32PictureButton(HWND parent, int id, HBITMAP picture, const RECT& place,
                                       int dpi)
    : picture_(picture), dpi_(dpi) {
    handle_ = CreateWindowExW(
        0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, place.left, place.top,
        place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

Win32PictureButton::~Win32PictureButton() {
    if (accessibility_) {
        // An annotation outlives its window unless it is taken back.
        MSAAPROPID description = PROPID_ACC_DESCRIPTION;
        accessibility_->ClearHwndProps(handle_, OBJID_CLIENT, CHILDID_SELF, &description, 1);
        accessibility_->Release();
    }
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

void Win32PictureButton::SetPicture(HBITMAP picture, int dpi) {
    if (picture_) DeleteObject(picture_);
    picture_ = picture;
    dpi_ = dpi;
    InvalidateRect(handle_, nullptr, TRUE);
}

SIZE Win32PictureButton::PictureSize() const {
    BITMAP info{};
    if (!picture_ || !GetObjectW(picture_, sizeof(info), &info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

void Win32PictureButton::SetAccessible(const Text& name, const Text& description) {
    SetWindowTextW(handle_, Wide(name).c_str());
    if (!accessibility_ &&
        FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&accessibility_)))) {
        accessibility_ = nullptr;  // no accessibility services: the name alone is read
        return;
    }
    // Systems whose services cannot annotate a window read the name alone.
    accessibility_->SetHwndPropStr(handle_, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_DESCRIPTION,
                                   Wide(description).c_str());
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
        const int shift = down ? Scaled(1, dpi_) : 0;
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
        InflateRect(&focus, -Scaled(4, dpi_), -Scaled(4, dpi_));
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace pendrel::win32
