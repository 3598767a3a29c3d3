#pragma once
#include <cstdint>

#include "platform/Text.h"

namespace pendrel {

// The settings of MousePointer: one for the window and every control on it.
namespace MousePointer {
constexpr int Arrow = 1;
constexpr int Busy = 11;
constexpr int Custom = 99;  // the image in MouseIcon
}  // namespace MousePointer

using WindowHandle = std::uintptr_t;  // 0 is no window

// The main window as its handlers see it. Geometry in twips (15 to a pixel at 96 DPI).
class WindowSurface {
public:
    virtual ~WindowSurface() = default;

    virtual float Left() const = 0;
    virtual void SetLeft(float twips) = 0;
    virtual float Top() const = 0;
    virtual void SetTop(float twips) = 0;
    virtual float Width() const = 0;   // outer size, frame included
    virtual float Height() const = 0;

    virtual Text Caption() const = 0;
    virtual void SetCaption(const Text& caption) = 0;

    virtual int MousePointer() const = 0;
    virtual void SetMousePointer(int setting) = 0;
    // Loads a pointer image from a file for MousePointer::Custom. An image that cannot be
    // read is not an error: the window then shows the platform's pointing hand.
    virtual void SetMouseIcon(const Text& imageFile) = 0;

    virtual WindowHandle hWnd() const = 0;
};

}  // namespace pendrel
