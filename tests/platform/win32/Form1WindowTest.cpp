// The real Win32 window: as keyboard, mouse and screen reader users meet it, moved to a monitor
// of another DPI, and a whole batch run from its buttons to PDF files through a Word whose
// printer shows a real Save As dialog. Pendrel.exe's own window is checked by PendrelExeProbe.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <shlobj.h>

#include "platform/Form1Layout.h"
#include "platform/win32/Win32Dpi.h"
#include "programs/windows/PendrelWindows.h"
#include "tests/platform/win32/TestWord.h"

namespace pendrel::win32 {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using programs::PendrelWindows;
using testing::TestWord;

// What Windows sends when the window moves to a monitor of dpi: the rectangle it chose there.
void MoveToMonitorOf(HWND window, int dpi, SIZE size) {
    RECT r{};
    GetWindowRect(window, &r);
    r = RECT{r.left, r.top, r.left + size.cx, r.top + size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&r));
}

TEST(Form1Window, MovedToAMonitorOf150PercentAndBackItScalesAndKeepsFocusOrderAndNames) {
    PendrelWindows p;
    p.form.Form_Load();
    p.window.Show();
    const HWND w = p.window.Handle(), list = p.window.listView1().Handle();
    const HWND check1 = p.window.check1().Handle(), check2 = p.window.check2().Handle(),
               check4 = p.window.check4().Handle(), command1 = p.window.command1();
    // The columns, the list's font, a picture and every control's place, in pixels.
    const auto lengths = [&] {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof(font),
                   &font);
        std::vector<LONG> all = {ListView_GetColumnWidth(list, 0), ListView_GetColumnWidth(list, 1),
                                 font.lfHeight, p.window.check1().PictureSize().cx};
        for (const HWND control : {list, check1, check4, check2, command1}) {
            RECT r{};
            GetWindowRect(control, &r);
            MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
            all.insert(all.end(), {r.left, r.top, r.right, r.bottom});
        }
        return all;
    };
    const std::vector<LONG> at96 = lengths();
    RECT client96{}, client{};
    GetClientRect(w, &client96);

    // 150 %: all half as large again. Wine keeps drawing the frame for its own DPI, so the
    // rectangle is the one around the client area that Windows would give.
    RECT frame{0, 0, client96.right * 3 / 2, client96.bottom * 3 / 2};
    AdjustWindowRectEx(&frame, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
    MoveToMonitorOf(w, 144, SIZE{frame.right - frame.left, frame.bottom - frame.top});
    const std::vector<LONG> at144 = lengths();
    for (std::size_t i = 0; i < at96.size(); ++i)
        EXPECT_LE(std::abs(at144[i] * 2 - at96[i] * 3), 2) << i << ": " << at144[i];

    // Back at 96 DPI, at the size the window asks for, it is as it was made; a column the user
    // dragged keeps its share.
    ListView_SetColumnWidth(list, 1, 150);
    SIZE wanted{};
    SendMessageW(w, GetDpiScaledSizeMessage, 96, reinterpret_cast<LPARAM>(&wanted));
    MoveToMonitorOf(w, 96, wanted);
    std::vector<LONG> dragged = at96;
    dragged[1] = 100;
    EXPECT_EQ(lengths(), dragged);
    GetClientRect(w, &client);
    EXPECT_TRUE(EqualRect(&client, &client96));

    // The focus starts on the hidden button; Tab goes round in the focus order.
    EXPECT_EQ(GetFocus(), command1);
    for (const HWND next : {check1, check2, list, check4, command1}) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        IsDialogMessageW(w, &tab);
        EXPECT_EQ(GetFocus(), next) << "after Tab";
    }
    // The picture buttons draw no text, but screen readers read each one's as its name.
    for (const auto& [button, name] : {std::pair{check1, Form1Layout::Check1Accessible.name},
                                       {check4, Form1Layout::Check4Accessible.name},
                                       {check2, Form1Layout::Check2Accessible.name}}) {
        wchar_t text[64] = {};
        GetWindowTextW(button, text, 64);
        EXPECT_EQ(text, Wide(name));
    }
    // The hand over the buttons and the list ("HAND-M.CUR" is not here), the arrow elsewhere.
    SendMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(p.window.CurrentCursor(), LoadCursorW(nullptr, IDC_HAND));
    SendMessageW(w, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(p.window.CurrentCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

// Pumps the window's messages, as the message loop would, until done or the time is up.
template <typename Done>
bool PumpUntil(PendrelWindows& p, Done done, std::chrono::seconds limit = 10s) {
    for (const auto until = std::chrono::steady_clock::now() + limit; !done();) {
        if (std::chrono::steady_clock::now() > until) return false;
        p.eventPump.ProcessPendingMessages(10ms);
    }
    return true;
}

void Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

// Files as Explorer drops them on the window.
void Drop(HWND window, const std::vector<fs::path>& paths) {
    std::wstring names;
    for (const fs::path& path : paths) names += path.wstring() + L'\0';
    const std::size_t size = (names.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    *drop = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};
    memcpy(drop + 1, names.c_str(), size);
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// The list's menu, read and answered from a timer that runs inside the menu's own message loop:
// its entries, then the third chosen with the keyboard.
std::vector<std::wstring> menuEntries;
void CALLBACK AnswerMenu(HWND window, UINT, UINT_PTR timer, DWORD) {
    const HWND shown = FindWindowW(L"#32768", nullptr);
    if (!shown || !IsWindowVisible(shown)) return;
    KillTimer(window, timer);
    const auto menu = reinterpret_cast<HMENU>(SendMessageW(shown, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        menuEntries.push_back(text);
    }
    for (const WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        PostMessageW(window, WM_KEYDOWN, key, 0);
}

// Documents picked in the Add Files dialog, dropped from Explorer and found in a folder, all
// converted; a document whose printing fails midway gets its old PDF back. Then an item's menu.
TEST(Form1Window, RunsAWholeBatchFromTheButtonsToPdfFiles) {
    const fs::path folder =
        fs::temp_directory_path() / ("pendrel-batch-" + std::to_string(GetCurrentProcessId()));
    const fs::path unicode = folder / L"Gr\u00FC\u00DF \U0001D11E.doc";
    fs::create_directories(folder / "sub");
    const struct Removed {
        fs::path path;
        ~Removed() { fs::remove_all(path); }
    } removed{folder};
    for (const fs::path& file : {folder / "a.doc", folder / "notes.txt", folder / "sub/b.doc",
                                 folder / "c.doc", folder / "fails.doc", unicode})
        std::ofstream(file) << "document";
    std::ofstream(folder / "fails.pdf") << "%PDF-1.4 old";
    const auto path = [&](const fs::path& file) { return Narrow(file.wstring()); };

    TestWord word;
    word.fail = [&](const TestWord::Call& call, EXCEPINFO& e) -> HRESULT {
        // The printer stops once it has written fails.pdf, or part of it.
        if (call.member != L"BackgroundPrintingStatus" || !word.opened.ends_with("fails.doc"))
            return S_OK;
        for (int i = 0; i < 500 && word.printerDialog->saves == 0; ++i) Sleep(10);
        e.wCode = 5;
        e.bstrDescription = SysAllocString(L"The printer stopped.");
        return DISP_E_EXCEPTION;
    };
    PendrelWindows p(&word);
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();
    const HWND control = list.Handle();
    const auto& shown = p.messageBoxes.shown();

    p.window.commonDialog1().setNextResult(folder.wstring() +
                                           std::wstring(L"\0a.doc\0notes.txt\0\0", 19));
    Click(p.window.check1().Handle());
    ASSERT_TRUE(PumpUntil(p, [&] { return list.ItemCount() == 1; }));
    Drop(p.window.Handle(), {folder / "sub", folder / "gone.doc", unicode});
    ASSERT_EQ(list.ItemCount(), 3u);
    EXPECT_EQ(list.ItemText(2), path(folder / "sub\\b.doc"));
    EXPECT_EQ(list.ItemText(3), path(unicode));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("gone.doc"), Text::npos);
    p.folderBrowser.setNextFolder(path(folder));
    Click(p.window.check4().Handle());
    ASSERT_TRUE(PumpUntil(p, [&] { return list.ItemCount() == 8; }));
    ASSERT_LT(ListView_GetCountPerPage(control), 8) << "the list shows a few items at once";
    ListView_SetItemState(control, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);

    Click(p.window.check2().Handle());
    ASSERT_TRUE(PumpUntil(
        p, [&] { return p.window.Caption() == "Pendrel [ Done ]"; }, 60s));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].text, path(folder / "fails.doc") + "\n\nError 5: The printer stopped.");
    for (std::size_t i = 1; i <= 8; ++i)
        EXPECT_EQ(list.SubItem(i, 1), list.ItemText(i).ends_with("fails.doc") ? "Queued" : "Done");
    for (const fs::path& file : fs::recursive_directory_iterator(folder)) {
        std::string text;
        std::getline(std::ifstream(file), text);
        if (file.extension() == ".pdf") {
            EXPECT_EQ(text, file.stem() == "fails" ? "%PDF-1.4 old" : "%PDF-1.4 printed") << file;
        }
        EXPECT_FALSE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_HIDDEN) << file;
        EXPECT_NE(file.extension(), ".pendrel-old") << "nothing is left aside";
    }
    EXPECT_GT(ListView_GetTopIndex(control) + ListView_GetCountPerPage(control), 7)
        << "the list followed the run to the last item";
    EXPECT_EQ(list.SelectedIndex(), 2u) << "the selection stays";

    // From the keyboard (the menu key) the menu is the focused item's: Remove takes it.
    list.setNextMenuChoice(2);
    SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
    ASSERT_EQ(list.ItemCount(), 7u);
    EXPECT_EQ(list.ItemText(2), path(unicode));
    // The menu as the user sees it, on the first item, whose PDF is there: Remove.
    ListView_EnsureVisible(control, 0, FALSE);
    RECT item{};
    ListView_GetItemRect(control, 0, &item, LVIR_LABEL);
    const LPARAM at = MAKELPARAM(item.left + 5, (item.top + item.bottom) / 2);
    SetTimer(p.window.Handle(), 1, 20, AnswerMenu);
    PostMessageW(control, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(control, WM_RBUTTONUP, 0, at);
    ASSERT_TRUE(PumpUntil(p, [&] { return list.ItemCount() == 6; }));
    EXPECT_EQ(menuEntries, (std::vector<std::wstring>{L"Open PDF", L"Show in Folder", L"Remove"}));
    EXPECT_EQ(list.ItemText(1), path(unicode));
    // The system's shell refuses a file that is not there, so that the menu can say so.
    EXPECT_FALSE(p.shell.Open(path(folder / "gone.pdf")));
    EXPECT_FALSE(p.shell.ShowInFolder(path(folder / "gone.pdf")));
}

}  // namespace
}  // namespace pendrel::win32
