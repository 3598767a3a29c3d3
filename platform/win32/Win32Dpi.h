#pragma once
// Screen resolution for a per-monitor aware program. The calls that tell a window's or a
// monitor's DPI came with Windows 8.1 and 10; they are looked up when the program runs, and
// where they are missing the system's one DPI stands in.
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

// WM_GETDPISCALEDSIZE (Windows 10 1703), which the headers declare for newer systems only.
inline constexpr UINT GetDpiScaledSizeMessage = 0x02E4;

// The DPI the system's own drawing is scaled for (the primary monitor's when the user logged
// on).
int SystemDpi();
// The DPI of the monitor the window is on, as the window is drawn for it.
int WindowDpi(HWND window);
// The window's outer size for a client area of clientWidth x clientHeight pixels, the frame
// measured for dpi.
SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi);

}  // namespace pendrel::win32
