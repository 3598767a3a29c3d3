#include "platform/win32/Win32Dpi.h"

#include "platform/WindowSurface.h"

namespace pendrel::win32 {
namespace {

// MONITOR_DPI_TYPE's MDT_EFFECTIVE_DPI: the DPI the user chose for the monitor.
constexpr int EffectiveDpi = 0;

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetDpiForSystemCall = UINT(WINAPI*)();
using GetDpiForMonitorCall = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// A function of user32, or nullptr on a system older than it.
template <typename Call>
Call User32(const char* name) {
    // user32 is loaded for as long as the program runs; GetProcAddress hands out void(*)().
    return reinterpret_cast<Call>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// Windows 8.1 tells a monitor's DPI through shcore only; taken from the system folder alone.
GetDpiForMonitorCall ShcoreGetDpiForMonitor() {
    const HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!shcore) return nullptr;
    return reinterpret_cast<GetDpiForMonitorCall>(
        reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")));
}

struct Calls {
    GetDpiForWindowCall getDpiForWindow = User32<GetDpiForWindowCall>("GetDpiForWindow");
    GetDpiForSystemCall getDpiForSystem = User32<GetDpiForSystemCall>("GetDpiForSystem");
    AdjustWindowRectExForDpiCall adjustWindowRectExForDpi =
        User32<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    GetDpiForMonitorCall getDpiForMonitor = getDpiForWindow ? nullptr : ShcoreGetDpiForMonitor();
};

const Calls& Dpi() {
    static const Calls calls;  // looked up once, on first use
    return calls;
}

int Sane(UINT dpi) {
    return dpi >= 48 && dpi <= 960 ? static_cast<int>(dpi) : LayoutDpi;
}

}  // namespace

int SystemDpi() {
    if (Dpi().getDpiForSystem) return Sane(Dpi().getDpiForSystem());
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Sane(static_cast<UINT>(dpi));
}

int WindowDpi(HWND window) {
    if (Dpi().getDpiForWindow) return Sane(Dpi().getDpiForWindow(window));
    if (Dpi().getDpiForMonitor) {
        UINT x = 0, y = 0;
        const HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
        if (SUCCEEDED(Dpi().getDpiForMonitor(monitor, EffectiveDpi, &x, &y))) return Sane(y);
    }
    return SystemDpi();
}

SIZE OuterSize(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, int dpi) {
    RECT frame{0, 0, clientWidth, clientHeight};
    if (Dpi().adjustWindowRectExForDpi) {
        Dpi().adjustWindowRectExForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

}  // namespace pendrel::win32
