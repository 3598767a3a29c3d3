#pragma once
// The button pictures: JPEG images kept as resources, decoded by the system's own imaging
// (Windows Imaging Component) into bitmaps that can be drawn.
#include "platform/WindowSurface.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

// A top-down 32-bit bitmap of the JPEG resource, or nullptr when it can't be decoded. The
// caller owns it (DeleteObject). COM must be initialised on the calling thread. The picture
// is made for the layout's screen; for another dpi it is scaled by dpi / LayoutDpi, smoothly.
HBITMAP LoadJpegResource(HINSTANCE module, int resourceId, int dpi = LayoutDpi);

}  // namespace pendrel::win32
