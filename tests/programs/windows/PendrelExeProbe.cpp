// Starts Pendrel.exe under Wine. Its window: the layout's size and places scaled to the screen's
// DPI, centred, and a screenshot; closing it ends the program. Or, with --command-line, what it
// answers in message boxes, the status it ends with, and the paths it queues.
//
// Usage: pendrel_exe_probe <Pendrel.exe> <screenshot.bmp> [dpi]
//        pendrel_exe_probe <Pendrel.exe> --command-line
//        pendrel_exe_probe --reset-dpi
// With a dpi, Wine's screen resolution (HKCU\Control Panel\Desktop\LogPixels) is set to it while
// Pendrel.exe runs, and removed again afterwards; --reset-dpi only removes it.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Form1Layout.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32Form1Window.h"

namespace {

using namespace pendrel;
using Window = win32::Win32Form1Window;

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    failures += ok ? 0 : 1;
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Pendrel.exe started with the arguments.
struct Started {
    PROCESS_INFORMATION process{};

    Started(const std::wstring& program, const std::wstring& arguments) {
        std::wstring command = L"\"" + program + L"\" " + arguments;
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        Check(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &process),
              "Pendrel.exe starts");
    }

    // Its visible top-level window of the class and, if given, the title; waited for.
    HWND Window(const wchar_t* type, const wchar_t* title, int seconds = 30) const {
        for (int tenths = 0; tenths <= seconds * 10; ++tenths, Sleep(100)) {
            for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, type, title));) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == process.dwProcessId && IsWindowVisible(w)) return w;
            }
        }
        return nullptr;
    }

    // Its exit status once it ends within 10 s; else it is ended, and the status is -1.
    int Finish() {
        DWORD status = static_cast<DWORD>(-1);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &status);
        else
            TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return static_cast<int>(status);
    }
};

// The window as the screen shows it, as a 24-bit BMP file.
bool SaveScreenshot(HWND window, const std::wstring& file) {
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);  // GetDIBits takes a bitmap that no DC holds
    BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<char> pixels(static_cast<std::size_t>((width * 3 + 3) & ~3) * height);
    GetDIBits(memory, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(header);
    const BITMAPFILEHEADER fileHeader{0x4D42, offset + static_cast<DWORD>(pixels.size()), 0, 0,
                                      offset};
    std::ofstream out(file.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return out.good();
}

void ProbeWindow(const std::wstring& program, const std::wstring& screenshot, int dpi) {
    Started pendrel(program, L"");
    const HWND window = pendrel.Window(Window::ClassName, L"Pendrel");
    Check(window != nullptr, "the window with the caption \"Pendrel\" shows");
    // The client area and every control at the layout's place, scaled to dpi.
    const auto placed = [&](HWND control, const Form1Layout::Place& place) {
        RECT at{};
        GetWindowRect(control, &at);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&at), 2);
        if (control == window) GetClientRect(window, &at);
        const int x = TwipsToPixels(place.left, dpi), y = TwipsToPixels(place.top, dpi);
        const RECT wanted{x, y, x + TwipsToPixels(place.width, dpi),
                          y + TwipsToPixels(place.height, dpi)};
        Check(EqualRect(&at, &wanted), "placed at " + Rect(wanted) + " (" + Rect(at) + ")");
    };
    if (window) {
        placed(window, {0, 0, Form1Layout::ClientWidth, Form1Layout::ClientHeight});
        placed(GetDlgItem(window, Window::ListView1Id), Form1Layout::ListView1);
        placed(GetDlgItem(window, Window::Check1Id), Form1Layout::Check1);
        placed(GetDlgItem(window, Window::Check4Id), Form1Layout::Check4);
        placed(GetDlgItem(window, Window::Check2Id), Form1Layout::Check2);
        placed(GetDlgItem(window, Window::Command1Id), Form1Layout::Command1);
        const HWND list = GetDlgItem(window, Window::ListView1Id);
        Check(ListView_GetColumnWidth(list, 0) == TwipsToPixels(5500, dpi) &&
                  ListView_GetColumnWidth(list, 1) == TwipsToPixels(1000, dpi),
              "the columns are 5500 and 1000 twips wide");
        RECT r{};
        GetWindowRect(window, &r);
        Check(std::abs(r.left + r.right - GetSystemMetrics(SM_CXSCREEN)) <= 2 &&
                  std::abs(r.top + r.bottom - GetSystemMetrics(SM_CYSCREEN)) <= 2,
              "centred on the screen (" + Rect(r) + ")");
        Sleep(1000);  // let it paint
        Check(SaveScreenshot(window, screenshot), "screenshot saved");
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    Check(pendrel.Finish() == 0, "closing the window ends the program");
}

// Read by the Linux program's rules: options anywhere before "--", one dash taking each letter
// as an option, help before version, and no window for either or for a refusal.
void ProbeCommandLine(const std::wstring& program) {
    const struct {
        std::wstring arguments, says;
        int status;
        bool window;
    } answers[] = {
        {L"a.doc --version -h", L"Usage: Pendrel.exe [options] [--] [paths...]", 0, false},
        {L"a.doc -v", L"Pendrel " PENDREL_VERSION, 0, false},
        {L"-hx a.doc", L"Pendrel.exe: Unknown option 'x'.", 2, false},
        {L"--version=2", L"Pendrel.exe: Unexpected value after '--version'.", 2, false},
        // Nothing converted and no window, whatever else is given.
        {L"--convert --jobs 4 a.doc", L"needs Pendrel's Linux engine", 2, false},
        // Quoted as Explorer's "Send to" passes a path; queued, and named as not found.
        {L"-- \"-gone \u00E9.doc\" -v", L"-gone \u00E9.doc", 0, true},
    };
    for (const auto& answer : answers) {
        const std::string name = win32::Narrow(answer.arguments);
        Started pendrel(program, answer.arguments);
        const HWND box = pendrel.Window(L"#32770", L"Quarrendon");
        const HWND window = pendrel.Window(Window::ClassName, nullptr, 0);
        wchar_t message[2048] = {};
        GetDlgItemTextW(box, 0xFFFF, message, 2048);  // a message box's text
        Check(std::wcsstr(message, answer.says.c_str()), name + ": a message box says so");
        Check((window != nullptr) == answer.window, name + ": a window opens only for paths");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        if (window) PostMessageW(window, WM_CLOSE, 0, 0);
        Check(pendrel.Finish() == answer.status,
              name + ": ends with status " + std::to_string(answer.status));
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const auto resetDpi = [] {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    };
    if (argc == 2 && std::wstring(argv[1]) == L"--reset-dpi") {
        resetDpi();
        return 0;
    }
    if (argc != 3 && argc != 4) return 2;  // see the usage above
    // The probe sees Pendrel.exe's pixels unscaled whatever the DPI.
    SetProcessDPIAware();
    if (std::wstring(argv[2]) == L"--command-line") {
        ProbeCommandLine(argv[1]);
    } else if (argc == 3) {
        ProbeWindow(argv[1], argv[2], LayoutDpi);
    } else {
        const DWORD dpi = std::wcstoul(argv[3], nullptr, 10);
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                        sizeof(dpi));
        ProbeWindow(argv[1], argv[2], static_cast<int>(dpi));
        resetDpi();
    }
    return failures == 0 ? 0 : 1;
}
