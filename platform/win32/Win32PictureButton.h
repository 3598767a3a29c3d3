#pragma once
// Check1, Check2, Check4: two-state buttons drawn by the window as a push button with a
// picture, down while Value is 1.
#include <functional>

#include "platform/Controls.h"
#include "platform/WindowSurface.h"
#include "platform/win32/Win32Api.h"

struct IAccPropServices;

namespace pendrel::win32 {

class Win32PictureButton : public PictureButton {
public:
    // picture: owned by the button from now on; nullptr draws an empty face. dpi: the screen
    // the picture was made for.
    Win32PictureButton(HWND parent, int id, HBITMAP picture, const RECT& place,
                       int dpi = LayoutDpi);
    ~Win32PictureButton() override;
    Win32PictureButton(const Win32PictureButton&) = delete;
    Win32PictureButton& operator=(const Win32PictureButton&) = delete;

    std::function<void()> onClick;

    HWND Handle() const { return handle_; }
    int Value() const override { return value_; }
    void SetValue(int value) override;

    // The user clicked it (mouse, space bar): a button that is up goes down and the other
    // way round, then Click is raised.
    void Clicked();
    // WM_DRAWITEM from the window: the picture centred, its middle part where it is taller.
    void Draw(const DRAWITEMSTRUCT& item) const;

    // Another picture, made for a screen of dpi; the old one is freed.
    void SetPicture(HBITMAP picture, int dpi);
    // The picture's size in pixels; 0 x 0 without one.
    SIZE PictureSize() const;

    // What screen readers say of the button: its name (the window text, which an owner-drawn
    // button never draws) and its description.
    void SetAccessible(const Text& name, const Text& description);

private:
    HWND handle_ = nullptr;
    HBITMAP picture_ = nullptr;
    int dpi_ = LayoutDpi;
    int value_ = 0;
    IAccPropServices* accessibility_ = nullptr;  // holds the description while set
};

}  // namespace pendrel::win32
