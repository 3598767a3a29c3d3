// Starts Pendrel.exe, finds its window by the caption "Pendrel", checks its client size,
// saves a screenshot of it, then closes it and expects the program to end. The window's
// controls are checked in Form1WindowTest.
// Usage: pendrel_exe_probe <Pendrel.exe> <screenshot.bmp>
#include "platform/win32/Win32Api.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    if (!ok) ++failures;
}

HWND WaitForWindow(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (const HWND w = FindWindowW(L"PendrelForm1", L"Pendrel")) return w;
        Sleep(100);
    }
    return nullptr;
}

// The window as the screen shows it, as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::wstring& file) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);

    BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::vector<char> pixels(static_cast<std::size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;
    fileHeader.bfOffBits = sizeof(fileHeader) + sizeof(header);
    fileHeader.bfSize = fileHeader.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out.good();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::printf("usage: pendrel_exe_probe <Pendrel.exe> <screenshot.bmp>\n");
        return 2;
    }
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::printf("FAILED: Pendrel.exe could not be started (%lu)\n", GetLastError());
        return 1;
    }
    const HWND window = WaitForWindow(30);
    Check(window != nullptr, "the window with the caption \"Pendrel\" shows");
    if (window) {
        RECT client{};
        GetClientRect(window, &client);
        Check(client.right == 490 && client.bottom == 268, "client area 490 x 268");
        int controls = 0;
        for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++controls;
        Check(controls == 5, "five controls");
        Sleep(1000);  // let it paint
        Check(SaveScreenshot(window, argv[2]), "screenshot saved");
        PostMessageW(window, WM_CLOSE, 0, 0);
        Check(WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0,
              "closing the window ends the program");
    }
    TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return failures == 0 ? 0 : 1;
}
