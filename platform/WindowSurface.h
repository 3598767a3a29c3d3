#pragma once
#include <cmath>
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

// Geometry is in twips (1/1440 inch): 15 to a pixel at 96 dots per inch, the screen the
// window is laid out for.
inline constexpr float TwipsPerPixel = 15.0f;
inline constexpr int LayoutDpi = 96;

// Twips to whole pixels on a screen of dpi dots per inch, and back.
inline int TwipsToPixels(float twips, int dpi = LayoutDpi) {
    return static_cast<int>(std::lround(twips / TwipsPerPixel * static_cast<float>(dpi) /
                                        static_cast<float>(LayoutDpi)));
}
inline float PixelsToTwips(int pixels, int dpi = LayoutDpi) {
    return static_cast<float>(pixels) * TwipsPerPixel * static_cast<float>(LayoutDpi) /
           static_cast<float>(dpi);
}

// The main window as its handlers see it.
class WindowSurface {
public:
    virtual ~WindowSurface() = default;

    virtual float Left() const = 0;
    virtual void SetLeft(float twips) = 0;
    virtual float Top() const = 0;
    virtual void SetTop(float twips) = 0;
    virtual float Width() const = 0;  // outer size, frame included
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
