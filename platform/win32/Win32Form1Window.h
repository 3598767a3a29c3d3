#pragma once
// Form1: the main window with native controls at fixed places. Every event of the window and
// of its controls goes to the Form1 handler of the same name.
#include <memory>
#include <vector>

#include "platform/Form1Events.h"
#include "platform/WindowSurface.h"
#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include "platform/win32/Win32CommonDialog.h"
#include "platform/win32/Win32ListView.h"
#include "platform/win32/Win32PictureButton.h"

namespace pendrel::win32 {

// The process's current folder, against which relative paths handed in are taken.
Text CurrentFolder();

class Win32Form1Window : public WindowSurface {
public:
    static constexpr const wchar_t* ClassName = L"PendrelForm1";

    // messages: where the Add Files dialog reports a pick too large for it.
    explicit Win32Form1Window(MessageBoxes& messages);
    ~Win32Form1Window() override;
    Win32Form1Window(const Win32Form1Window&) = delete;
    Win32Form1Window& operator=(const Win32Form1Window&) = delete;

    // From now on the window's events run these handlers.
    void Connect(Form1Events& handlers);
    // Shows the window with the keyboard focus on the hidden Command1.
    void Show();

    HWND Handle() const { return handle_; }
    // The DPI of the monitor the window is on; places and sizes are scaled from the layout's
    // 96 to it.
    int Dpi() const { return dpi_; }
    Win32ListView& listView1() { return *listView1_; }
    Win32PictureButton& check1() { return *check1_; }
    Win32PictureButton& check2() { return *check2_; }
    Win32PictureButton& check4() { return *check4_; }
    HWND command1() const { return command1_; }
    HWND toolTip() const { return toolTip_; }
    Win32CommonDialog& commonDialog1() { return commonDialog1_; }

    float Left() const override;
    void SetLeft(float twips) override;
    float Top() const override;
    void SetTop(float twips) override;
    float Width() const override;
    float Height() const override;

    Text Caption() const override;
    void SetCaption(const Text& caption) override;

    int MousePointer() const override { return pointer_; }
    void SetMousePointer(int setting) override;
    void SetMouseIcon(const Text& imageFile) override;
    // The cursor shown for the current setting.
    HCURSOR CurrentCursor() const;

    WindowHandle hWnd() const override { return reinterpret_cast<WindowHandle>(handle_); }

    // Control ids; Command1's is none of IDOK and IDCANCEL, which Enter and Esc send.
    enum : int {
        Command1Id = 200,
        Check1Id = 201,
        Check2Id = 202,
        Check4Id = 204,
        ListView1Id = 210
    };

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();  // Win32Form1Layout.cpp
    // Every control to its place, its pictures and its font for the window's DPI.
    void ScaleControls();  // Win32Form1Layout.cpp
    void OnDpiChanged(int dpi, const RECT& suggested);
    SIZE DpiScaledSize(int dpi) const;
    void OnCommand(int id, int code);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnItemRightClick(const NMITEMACTIVATE& click);
    void OnDropFiles(HDROP drop);
    void OnControlMouseMove(UINT_PTR id);
    RECT OuterRect() const;

    HWND handle_ = nullptr;
    int dpi_ = LayoutDpi;
    std::unique_ptr<Win32PictureButton> check4_;
    std::unique_ptr<Win32ListView> listView1_;
    HWND command1_ = nullptr;
    std::unique_ptr<Win32PictureButton> check2_;
    std::unique_ptr<Win32PictureButton> check1_;
    Win32CommonDialog commonDialog1_;
    HWND toolTip_ = nullptr;
    HWND savedFocus_ = nullptr;

    Form1Events* handlers_ = nullptr;
    int pointer_ = 0;  // the platform's default until a handler writes it
    HCURSOR mouseIcon_ = nullptr;
};

}  // namespace pendrel::win32
