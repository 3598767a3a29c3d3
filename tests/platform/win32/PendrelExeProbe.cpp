// Starts Pendrel.exe, finds its window by the caption "Pendrel", checks its size and the places
// of its controls for the screen's DPI, saves a screenshot of it, then closes it and expects
// the program to end. Or, with --command-line, starts it with options and checks its answers
// in message boxes, its exit status, and a path after "--". The window's behaviour is checked
// in Form1WindowTest.
//
// Usage: pendrel_exe_probe <Pendrel.exe> <screenshot.bmp> [dpi]
//        pendrel_exe_probe <Pendrel.exe> --command-line
//        pendrel_exe_probe --reset-dpi
// With a dpi, Wine's screen resolution (HKCU\Control Panel\Desktop\LogPixels) is set to it
// while Pendrel.exe runs, and removed again afterwards; --reset-dpi only removes it.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <string>
#include <vector>

#include "platform/Form1Layout.h"
#include "platform/win32/Win32Form1Window.h"

namespace {

using namespace pendrel;
using Window = win32::Win32Form1Window;

int failures = 0;

void Check(bool ok, const std::string& what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
    if (!ok) ++failures;
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

constexpr const wchar_t* DesktopKey = L"Control Panel\\Desktop";
constexpr const wchar_t* DpiValue = L"LogPixels";

// The screen's DPI for the programs started while it is set; Wine's default (96) afterwards.
struct ScreenDpi {
    explicit ScreenDpi(int dpi) {
        const DWORD value = static_cast<DWORD>(dpi);
        RegSetKeyValueW(HKEY_CURRENT_USER, DesktopKey, DpiValue, REG_DWORD, &value, sizeof(value));
    }
    ~ScreenDpi() { Reset(); }
    static void Reset() { RegDeleteKeyValueW(HKEY_CURRENT_USER, DesktopKey, DpiValue); }
};

// Pixels as Pendrel.exe's window has them, whatever the DPI: the probe sees them unscaled.
void BecomePerMonitorAware() {
    using Call = BOOL(WINAPI*)(HANDLE);
    const auto perMonitor = reinterpret_cast<Call>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (!perMonitor || !perMonitor(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4))))
        SetProcessDPIAware();
}

HWND WaitForWindow(int seconds) {
    for (int i = 0; i < seconds * 10; ++i) {
        if (const HWND w = FindWindowW(Window::ClassName, L"Pendrel")) return w;
        Sleep(100);
    }
    return nullptr;
}

RECT ClientPlace(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT Scaled(const Form1Layout::Place& place, int dpi) {
    const int left = TwipsToPixels(place.left, dpi), top = TwipsToPixels(place.top, dpi);
    return RECT{left, top, left + TwipsToPixels(place.width, dpi),
                top + TwipsToPixels(place.height, dpi)};
}

// The window's size and its controls' places are the layout's, scaled to dpi, and the window
// is centred on the screen.
void CheckLayout(HWND window, int dpi) {
    RECT client{};
    GetClientRect(window, &client);
    const RECT wanted{0, 0, TwipsToPixels(Form1Layout::ClientWidth, dpi),
                      TwipsToPixels(Form1Layout::ClientHeight, dpi)};
    Check(EqualRect(&client, &wanted) != FALSE,
          "client area " + Rect(wanted) + " (" + Rect(client) + ")");

    int controls = 0;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++controls;
    Check(controls == 5, "five controls");
    const std::pair<int, Form1Layout::Place> places[] = {
        {Window::ListView1Id, Form1Layout::ListView1},
        {Window::Check1Id, Form1Layout::Check1},
        {Window::Check4Id, Form1Layout::Check4},
        {Window::Check2Id, Form1Layout::Check2},
        {Window::Command1Id, Form1Layout::Command1}};
    for (const auto& [id, place] : places) {
        const RECT at = ClientPlace(GetDlgItem(window, id));
        const RECT expected = Scaled(place, dpi);
        Check(EqualRect(&at, &expected) != FALSE,
              "control " + std::to_string(id) + " at " + Rect(expected) + " (" + Rect(at) + ")");
    }
    const HWND list = GetDlgItem(window, Window::ListView1Id);
    const int first = ListView_GetColumnWidth(list, 0), second = ListView_GetColumnWidth(list, 1);
    Check(first == TwipsToPixels(5500, dpi) && second == TwipsToPixels(1000, dpi),
          "column widths " + std::to_string(TwipsToPixels(5500, dpi)) + ", " +
              std::to_string(TwipsToPixels(1000, dpi)) + " (" + std::to_string(first) + ", " +
              std::to_string(second) + ")");

    RECT outer{};
    GetWindowRect(window, &outer);
    const int offX = (outer.left + outer.right) - GetSystemMetrics(SM_CXSCREEN);
    const int offY = (outer.top + outer.bottom) - GetSystemMetrics(SM_CYSCREEN);
    Check(std::abs(offX) <= 2 && std::abs(offY) <= 2,
          "centred on the screen (" + Rect(outer) + ")");
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

// Pendrel.exe started with the arguments; false when it could not be.
bool Start(const std::wstring& program, const std::wstring& arguments,
           PROCESS_INFORMATION& process) {
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process))
        return true;
    std::printf("FAILED: Pendrel.exe could not be started (%lu)\n", GetLastError());
    return false;
}

// Ends the process if it still runs; its exit status, or -1 when it had to be ended.
int Finish(PROCESS_INFORMATION& process, DWORD waitMilliseconds) {
    DWORD status = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, waitMilliseconds) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &status);
    } else {
        TerminateProcess(process.hProcess, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(status);
}

int Probe(const std::wstring& program, const std::wstring& screenshot, int dpi) {
    PROCESS_INFORMATION process{};
    if (!Start(program, L"", process)) return 1;
    const HWND window = WaitForWindow(30);
    Check(window != nullptr, "the window with the caption \"Pendrel\" shows");
    if (window) {
        CheckLayout(window, dpi);
        Sleep(1000);  // let it paint
        Check(SaveScreenshot(window, screenshot), "screenshot saved");
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    Check(Finish(process, window ? 10000 : 0) == 0, "closing the window ends the program");
    return failures == 0 ? 0 : 1;
}

// A top-level window of the process, of the class and with the title (nullptr: any).
HWND WindowOf(DWORD processId, const wchar_t* type, const wchar_t* title) {
    struct Search {
        DWORD processId;
        const wchar_t* type;
        const wchar_t* title;
        HWND found = nullptr;
    } search{processId, type, title};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t type[64] = {}, title[128] = {};
            GetClassNameW(window, type, 64);
            GetWindowTextW(window, title, 128);
            if (owner != s.processId || !IsWindowVisible(window) || std::wstring(type) != s.type ||
                (s.title && std::wstring(title) != s.title))
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMessageBox(DWORD processId) {
    for (int i = 0; i < 300; ++i) {
        if (const HWND box = WindowOf(processId, L"#32770", L"Quarrendon")) return box;
        Sleep(100);
    }
    return nullptr;
}

// The message of a message box: its longest static text.
std::string MessageOf(HWND box) {
    std::wstring longest;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        wchar_t type[32] = {}, text[2048] = {};
        GetClassNameW(c, type, 32);
        GetWindowTextW(c, text, 2048);
        if (_wcsicmp(type, L"Static") == 0 && wcslen(text) > longest.size()) longest = text;
    }
    return std::string(longest.begin(), longest.end());  // the texts checked are ASCII
}

// Help, version and a refused option are answered in a message box, with no window; a path
// after "--" is queued (and, not being there, named in the window's message).
int ProbeCommandLine(const std::wstring& program) {
    const struct {
        const wchar_t* arguments;
        std::string begins;
        int status;
    } answers[] = {
        {L"--help", "Usage: Pendrel.exe [options] [--] [paths...]", 0},
        {L"a.doc -v", "Pendrel " PENDREL_VERSION, 0},
        {L"-x a.doc", "Pendrel.exe: Unknown option 'x'.", 2},
    };
    for (const auto& answer : answers) {
        const std::string name(answer.arguments, answer.arguments + wcslen(answer.arguments));
        PROCESS_INFORMATION process{};
        if (!Start(program, answer.arguments, process)) return 1;
        const HWND box = WaitForMessageBox(process.dwProcessId);
        Check(box != nullptr, name + ": a message box titled as the program's");
        if (box) {
            const std::string message = MessageOf(box);
            Check(message.rfind(answer.begins, 0) == 0, name + ": says " + answer.begins);
            Check(!WindowOf(process.dwProcessId, Window::ClassName, nullptr),
                  name + ": no window opens");
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        Check(Finish(process, box ? 10000 : 0) == answer.status,
              name + ": ends with status " + std::to_string(answer.status));
    }

    PROCESS_INFORMATION process{};
    if (!Start(program, L"-- -gone.doc", process)) return 1;
    const HWND box = WaitForMessageBox(process.dwProcessId);
    const HWND window = WindowOf(process.dwProcessId, Window::ClassName, nullptr);
    Check(window != nullptr, "-- -gone.doc: the window opens");
    Check(box && MessageOf(box).find("-gone.doc") != std::string::npos,
          "-- -gone.doc: the path is queued, and named as not found");
    if (box) PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    Check(Finish(process, window ? 10000 : 0) == 0, "-- -gone.doc: closing it ends the program");
    return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wstring(argv[1]) == L"--reset-dpi") {
        ScreenDpi::Reset();
        return 0;
    }
    if (argc != 3 && argc != 4) {
        std::printf(
            "usage: pendrel_exe_probe <Pendrel.exe> <screenshot.bmp> [dpi]\n"
            "       pendrel_exe_probe <Pendrel.exe> --command-line\n"
            "       pendrel_exe_probe --reset-dpi\n");
        return 2;
    }
    BecomePerMonitorAware();
    if (argc == 3 && std::wstring(argv[2]) == L"--command-line") return ProbeCommandLine(argv[1]);
    if (argc == 3) return Probe(argv[1], argv[2], LayoutDpi);
    const int dpi = std::wcstol(argv[3], nullptr, 10);
    const ScreenDpi screen(dpi);
    return Probe(argv[1], argv[2], dpi);
}
