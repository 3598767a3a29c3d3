// The real Win32 window: its layout and what screen readers read of it, keyboard order and
// pointer, scaling for another DPI, files dropped on it, an item's menu, and whole batch runs
// from button clicks to PDF files, with a Word whose printer shows a real Save As dialog, or
// with no Word at all. Closing it is checked on Pendrel.exe (PendrelExeProbe).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shlobj.h>

#include "platform/win32/WideText.h"
#include "platform/win32/Win32Dpi.h"
#include "programs/windows/PendrelWindows.h"
#include "tests/platform/win32/TestSaveAsDialog.h"

namespace pendrel::win32 {
using programs::PendrelWindows;
namespace {

namespace fs = std::filesystem;
using testing::TestSaveAsDialog;

std::wstring WindowText(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

// The name a screen reader reads for the window, through the system's accessibility proxy.
std::wstring AccessibleName(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = L"(no name)";
    if (SUCCEEDED(object->get_accName(self, &name)) && name) result = name;
    SysFreeString(name);
    object->Release();
    return result;
}

RECT ClientPlace(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// A folder of the test's own holding the named files, gone afterwards.
struct Folder {
    fs::path path;
    Folder(const char* name, std::initializer_list<const char*> files)
        : path(fs::temp_directory_path() / (name + std::to_string(GetCurrentProcessId()))) {
        for (const char* file : files) {
            fs::create_directories((path / file).parent_path());
            std::ofstream(path / file) << "document";
        }
    }
    ~Folder() { fs::remove_all(path); }
    Text operator[](const char* file) const { return Narrow((path / file).wstring()); }
};

// Pumps the window's messages, as the message loop would, until done or the time is up.
template <typename Done>
bool PumpUntil(Win32EventPump& pump, Done done, int seconds = 10) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) return false;
        pump.ProcessPendingMessages(std::chrono::milliseconds(10));
    }
    return true;
}

TEST(Form1Window, LaysOutItsControlsTabsThroughThemAndShowsThePointer) {
    PendrelWindows p;
    p.form.Form_Load();
    p.window.Show();
    const HWND w = p.window.Handle();
    const HWND list = p.window.listView1().Handle();

    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 490);
    EXPECT_EQ(client.bottom, 268);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_THICKFRAME | WS_MAXIMIZEBOX),
              WS_MINIMIZEBOX | WS_THICKFRAME);
    EXPECT_EQ(p.window.Caption(), "Pendrel");
    EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_BIG, 0) | GetClassLongPtrW(w, GCLP_HICON), 0u);
    const std::pair<HWND, RECT> places[] = {{list, {8, 8, 481, 113}},
                                            {p.window.check1().Handle(), {8, 120, 481, 161}},
                                            {p.window.check4().Handle(), {8, 168, 481, 209}},
                                            {p.window.check2().Handle(), {8, 216, 481, 257}}};
    for (const auto& [control, place] : places) {
        const RECT at = ClientPlace(control);
        EXPECT_TRUE(EqualRect(&at, &place)) << at.left << "," << at.top << "," << at.bottom;
    }
    EXPECT_LT(ClientPlace(p.window.command1()).right, 0) << "Command1 lies left of the window";
    wchar_t type[64] = {};
    GetClassNameW(list, type, 64);
    EXPECT_STREQ(type, L"SysListView32");
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 2);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 367);  // 5500 twips
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 67);   // 1000 twips
    wchar_t tip[80] = {};
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = w;
    tool.uId = reinterpret_cast<UINT_PTR>(list);
    tool.lpszText = tip;
    SendMessageW(p.window.toolTip(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, L"Double-click item to remove it.");

    // The focus starts on the hidden button; Tab goes round in the focus order.
    EXPECT_EQ(GetFocus(), p.window.command1());
    for (const HWND next : {p.window.check1().Handle(), p.window.check2().Handle(), list,
                            p.window.check4().Handle(), p.window.command1()}) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(IsDialogMessageW(w, &tab));
        EXPECT_EQ(GetFocus(), next) << "after Tab";
    }

    // The hand over the buttons and the list ("HAND-M.CUR" is not here), the arrow elsewhere.
    for (const auto& [over, pointer] : {std::pair{p.window.check1().Handle(), MousePointer::Custom},
                                        {w, MousePointer::Arrow},
                                        {list, MousePointer::Custom}}) {
        SendMessageW(over, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(p.window.MousePointer(), pointer);
    }
    EXPECT_EQ(p.window.CurrentCursor(), LoadCursorW(nullptr, IDC_HAND));

    // The picture buttons draw no text, but screen readers read a name for each.
    for (const auto& [button, name] : {std::pair{p.window.check1().Handle(), L"Add Word Files"},
                                       {p.window.check4().Handle(), L"Add Folder"},
                                       {p.window.check2().Handle(), L"Convert to PDF"}}) {
        EXPECT_EQ(WindowText(button), name);
        EXPECT_EQ(AccessibleName(button), name);
    }
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
               &font);
    return font;
}

// What Windows sends when the window moves to a monitor of another DPI: the rectangle it chose
// there, of the given outer size.
RECT MoveToMonitorOf(HWND window, int dpi, SIZE size) {
    RECT now{};
    GetWindowRect(window, &now);
    RECT suggested{now.left, now.top, now.left + size.cx, now.top + size.cy};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    return suggested;
}

// The size the window asks for on a monitor of dpi (WM_GETDPISCALEDSIZE).
SIZE SizeWantedAt(HWND window, int dpi) {
    SIZE size{};
    EXPECT_TRUE(
        SendMessageW(window, GetDpiScaledSizeMessage, dpi, reinterpret_cast<LPARAM>(&size)));
    return size;
}

TEST(Form1Window, ScalesItsControlsFontAndPicturesForTheMonitorsDpiAndBack) {
    PendrelWindows p;
    p.form.Form_Load();
    p.window.Show();
    const HWND w = p.window.Handle();
    const HWND list = p.window.listView1().Handle();
    RECT before{};
    GetWindowRect(w, &before);

    // 150 %: every place, the columns, the font and the pictures are half as large again.
    // Wine keeps drawing the frame for its own DPI, so the rectangle is the one around the
    // client area Windows would give, 735 x 402 pixels.
    const SIZE wanted = SizeWantedAt(w, 144);
    EXPECT_GT(wanted.cx, 735);
    EXPECT_GT(wanted.cy, 402);
    RECT frame{0, 0, 735, 402};
    AdjustWindowRectEx(&frame, GetWindowLongW(w, GWL_STYLE), FALSE, GetWindowLongW(w, GWL_EXSTYLE));
    const RECT suggested =
        MoveToMonitorOf(w, 144, SIZE{frame.right - frame.left, frame.bottom - frame.top});
    EXPECT_EQ(p.window.Dpi(), 144);
    RECT outer{};
    GetWindowRect(w, &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested)) << "the window takes the system's rectangle";
    const std::pair<HWND, RECT> places[] = {{list, {12, 12, 722, 170}},
                                            {p.window.check1().Handle(), {12, 180, 722, 242}},
                                            {p.window.check4().Handle(), {12, 252, 722, 314}},
                                            {p.window.check2().Handle(), {12, 324, 722, 386}},
                                            {p.window.command1(), {-72, 264, -10, 314}}};
    for (const auto& [control, place] : places) {
        const RECT at = ClientPlace(control);
        EXPECT_TRUE(EqualRect(&at, &place)) << at.left << "," << at.top << "," << at.bottom;
    }
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 550);  // 5500 twips
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 100);  // 1000 twips
    EXPECT_EQ(FontOf(list).lfHeight, -18);             // 9 points
    EXPECT_EQ(FontOf(list).lfWeight, FW_BOLD);
    const SIZE picture = p.window.check1().PictureSize();  // 415 x 49 at 96 DPI
    EXPECT_EQ(picture.cx, 623);
    EXPECT_EQ(picture.cy, 74);
    EXPECT_EQ(p.window.Caption(), "Pendrel");

    // The handlers still place the window in the layout's twips: 1500 twips are 150 pixels.
    p.window.SetLeft(1500.0f);
    p.window.SetTop(3000.0f);
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.left, 150);
    EXPECT_EQ(outer.top, 300);
    EXPECT_FLOAT_EQ(p.window.Left(), 1500.0f);

    // Back at 96 DPI, at the size it asks for, the window is as it was made; a column the user
    // dragged keeps its share.
    ListView_SetColumnWidth(list, 1, 150);
    MoveToMonitorOf(w, 96, SizeWantedAt(w, 96));
    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 490);
    EXPECT_EQ(client.bottom, 268);
    GetWindowRect(w, &outer);
    EXPECT_EQ(outer.right - outer.left, before.right - before.left);
    EXPECT_EQ(outer.bottom - outer.top, before.bottom - before.top);
    const RECT listAt = ClientPlace(list), listPlace{8, 8, 481, 113};
    EXPECT_TRUE(EqualRect(&listAt, &listPlace));
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 367);
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), 100);
    EXPECT_EQ(FontOf(list).lfHeight, -12);
    EXPECT_EQ(p.window.check1().PictureSize().cx, 415);
}

// Word, and its only document, whose printer writes what its Save As dialog is given.
struct PrinterWord : Dispatch, AutomationFactory {
    std::vector<std::unique_ptr<TestSaveAsDialog>> dialogs;

    DispatchPtr CreateObject(const Text&) override {
        return DispatchPtr(DispatchPtr(), this);  // not owned: the test keeps it
    }
    Variant Get(const Text& name) override {
        if (name == "Documents") return Variant::Object(CreateObject(name));
        return Variant::String("Local Printer");
    }
    void Put(const Text&, const Variant&) override {}
    Variant Call(const Text& name, const std::vector<Variant>&) override {
        if (name == "PrintOut")
            dialogs.push_back(std::make_unique<TestSaveAsDialog>([](const std::wstring& path) {
                std::ofstream(path.c_str(), std::ios::binary) << "%PDF-1.4 printed\n";
            }));
        return Variant();
    }
};

void Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

TEST(Form1Window, AWholeBatchRunsFromTheButtonsToPdfFiles) {
    const Folder folder("pendrel-batch-", {"a.doc", "b.doc", "a.pdf"});  // a.pdf: an old one
    PrinterWord word;
    PendrelWindows p(&word);
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();

    p.window.commonDialog1().setNextResult(folder.path.wstring() +
                                           std::wstring(L"\0a.doc\0notes.txt\0\0", 19));
    Click(p.window.check1().Handle());
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return list.ItemCount() == 1; }));
    p.folderBrowser.setNextFolder(Narrow(folder.path.wstring()));
    Click(p.window.check4().Handle());
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return list.ItemCount() == 3; }));
    EXPECT_EQ(list.ItemText(1), folder["a.doc"]);
    EXPECT_EQ(list.SubItem(1, 1), "Queued");

    Click(p.window.check2().Handle());
    ASSERT_TRUE(PumpUntil(
        p.eventPump, [&] { return p.window.Caption() == "Pendrel [ Done ]"; }, 60));
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(list.SubItem(i, 1), "Done") << i;
    EXPECT_EQ(word.dialogs.size(), 3u);
    for (const char* name : {"a.pdf", "b.pdf"}) {
        std::string text;
        std::getline(std::ifstream(folder.path / name), text);
        EXPECT_EQ(text, "%PDF-1.4 printed") << name;
    }
    EXPECT_TRUE(p.messageBoxes.shown().empty());
    EXPECT_EQ(p.window.MousePointer(), MousePointer::Arrow);
    EXPECT_EQ(p.window.check1().Value(), 0) << "a push button is up again";
}

TEST(Form1Window, DroppedFilesAndFoldersAreQueuedAndMissingOnesNamed) {
    const Folder folder("pendrel-drop-", {"a.doc", "sub/b.doc", "c.txt"});
    std::wstring dropped;  // as Explorer hands it over
    for (const char* name : {"c.txt", "sub", "a.doc", "gone.doc"})
        dropped += (folder.path / name).wstring() + L'\0';
    const std::size_t size = (dropped.size() + 1) * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    *drop = DROPFILES{sizeof(DROPFILES), {}, FALSE, TRUE};
    memcpy(drop + 1, dropped.c_str(), size);
    GlobalUnlock(memory);

    PendrelWindows p;
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    SendMessageW(p.window.Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    auto& list = p.window.listView1();
    ASSERT_EQ(list.ItemCount(), 2u);
    EXPECT_EQ(list.ItemText(1), folder["sub\\b.doc"]);
    EXPECT_EQ(list.ItemText(2), folder["a.doc"]);
    ASSERT_EQ(p.messageBoxes.shown().size(), 1u);
    EXPECT_NE(p.messageBoxes.shown()[0].text.find("gone.doc"), Text::npos);
}

// Word as it is not: the class is not registered under Wine, so the real COM factory fails
// before any document is opened.
TEST(Form1Window, WithoutWordOneMessageEndsTheRunAndEveryItemStaysQueued) {
    const Folder folder("pendrel-noword-", {"a.doc", "b.doc", "c.doc"});
    PendrelWindows p;
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();
    p.form.QueuePaths({folder["a.doc"], folder["b.doc"], folder["c.doc"]}, CurrentFolder());
    ASSERT_EQ(list.ItemCount(), 3u);

    Click(p.window.check2().Handle());
    ASSERT_TRUE(PumpUntil(
        p.eventPump, [&] { return !p.messageBoxes.shown().empty(); }, 30));
    PumpUntil(
        p.eventPump, [] { return false; }, 1);  // nothing more comes
    ASSERT_EQ(p.messageBoxes.shown().size(), 1u);
    const Text& message = p.messageBoxes.shown()[0].text;
    EXPECT_NE(message.find("Error 429: Microsoft Word is not installed on this computer."),
              Text::npos)
        << message;
    EXPECT_EQ(p.messageBoxes.shown()[0].title, "Quarrendon");
    ASSERT_EQ(list.ItemCount(), 3u);
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(list.SubItem(i, 1), "Queued") << i;
    EXPECT_EQ(p.window.Caption(), "Pendrel");
    EXPECT_FALSE(fs::exists(folder.path / "a.pdf"));
}

// A Word that prints quickly: each document's Save As dialog is closed when the next one
// comes.
struct OneDialogWord : PrinterWord {
    Variant Call(const Text& name, const std::vector<Variant>& args) override {
        if (name == "PrintOut") dialogs.clear();
        return PrinterWord::Call(name, args);
    }
};

TEST(Form1Window, TheListFollowsTheRunWhileTheSelectionStays) {
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i) names.push_back("doc" + std::to_string(100 + i) + ".doc");
    const Folder folder("pendrel-follow-", {});
    fs::create_directories(folder.path);
    for (const std::string& name : names) std::ofstream(folder.path / name) << "document";
    OneDialogWord word;
    PendrelWindows p(&word);
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();
    std::vector<Text> paths;
    for (const std::string& name : names) paths.push_back(folder[name.c_str()]);
    p.form.QueuePaths(paths, CurrentFolder());
    ASSERT_EQ(list.ItemCount(), 40u);
    const HWND control = list.Handle();
    ListView_SetItemState(control, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(ListView_GetTopIndex(control), 0);
    ASSERT_LT(ListView_GetCountPerPage(control), 40) << "the small list shows a few items";

    Click(p.window.check2().Handle());
    ASSERT_TRUE(PumpUntil(
        p.eventPump, [&] { return p.window.Caption() == "Pendrel [ Done ]"; }, 90));
    EXPECT_EQ(list.SubItem(40, 1), "Done");
    EXPECT_TRUE(p.messageBoxes.shown().empty());
    const int top = ListView_GetTopIndex(control);
    EXPECT_LE(top, 39);
    EXPECT_GT(top + ListView_GetCountPerPage(control), 39) << "the last item shows";
    EXPECT_EQ(list.SelectedIndex(), 2u);
}

// The desktop as the item's menu asks it: what was asked is recorded, nothing is opened.
struct RecordingShell : Shell {
    std::vector<std::pair<std::string, Text>> calls;
    bool Open(const Text& path) override {
        calls.push_back({"Open", path});
        return true;
    }
    bool ShowInFolder(const Text& path) override {
        calls.push_back({"ShowInFolder", path});
        return true;
    }
};

void RightClick(HWND list, int row) {
    RECT item{};
    ListView_GetItemRect(list, row, &item, LVIR_LABEL);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(list, WM_RBUTTONDOWN, MK_RBUTTON, at);
    PostMessageW(list, WM_RBUTTONUP, 0, at);
}

// The menu the list shows, read and answered from a timer that runs inside the menu's own
// message loop: its entries, then Down as often as needed and Enter.
struct ShownMenu {
    static inline std::vector<std::wstring> entries;
    static inline std::size_t choose = 0;
    static inline HWND keysTo = nullptr;

    static void CALLBACK Read(HWND, UINT, UINT_PTR timer, DWORD) {
        const HWND menuWindow = FindWindowW(L"#32768", nullptr);
        if (!menuWindow || !IsWindowVisible(menuWindow)) return;
        KillTimer(nullptr, timer);
        const auto menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
            entries.push_back(text);
        }
        for (std::size_t i = 0; i <= choose; ++i) PostMessageW(keysTo, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(keysTo, WM_KEYDOWN, VK_RETURN, 0);
    }
};

TEST(Form1Window, AnItemsMenuOpensItsPdfShowsItOrRemovesTheItem) {
    const Folder folder("pendrel-menu-", {"a.doc", "a.pdf", "b.doc", "c.doc"});
    RecordingShell shell;
    PendrelWindows p(nullptr, &shell);
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();
    p.form.QueuePaths({folder["a.doc"], folder["b.doc"], folder["c.doc"]}, CurrentFolder());
    ASSERT_EQ(list.ItemCount(), 3u);
    const HWND control = list.Handle();

    // The menu as the user sees it, for a document whose PDF is there: Show in Folder chosen.
    ShownMenu::choose = 1;
    ShownMenu::keysTo = p.window.Handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, ShownMenu::Read);
    RightClick(control, 0);
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return !shell.calls.empty(); }));
    KillTimer(nullptr, timer);
    EXPECT_EQ(ShownMenu::entries,
              (std::vector<std::wstring>{L"Open PDF", L"Show in Folder", L"Remove"}));
    EXPECT_EQ(shell.calls.back(), std::pair(std::string("ShowInFolder"), folder["a.pdf"]));

    // The first entry of the same menu opens the PDF.
    list.setNextMenuChoice(0);
    RightClick(control, 0);
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return shell.calls.size() == 2; }));
    EXPECT_EQ(shell.calls.back(), std::pair(std::string("Open"), folder["a.pdf"]));

    // Without a PDF there is nothing to open: the first entry shows the document itself.
    list.setNextMenuChoice(0);
    RightClick(control, 1);
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return shell.calls.size() == 3; }));
    EXPECT_EQ(shell.calls.back(), std::pair(std::string("ShowInFolder"), folder["b.doc"]));

    // Remove, the second entry there, takes that item only.
    list.setNextMenuChoice(1);
    RightClick(control, 1);
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return list.ItemCount() == 2; }));
    EXPECT_EQ(list.ItemText(1), folder["a.doc"]);
    EXPECT_EQ(list.ItemText(2), folder["c.doc"]);

    // From the keyboard (the menu key) the menu is the focused item's; dismissed, it does
    // nothing.
    ListView_SetItemState(control, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.setNextMenuChoice(std::nullopt);
    SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
    list.setNextMenuChoice(1);  // Remove: c.doc has no PDF
    SendMessageW(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), MAKELPARAM(-1, -1));
    ASSERT_EQ(list.ItemCount(), 1u);
    EXPECT_EQ(list.ItemText(1), folder["a.doc"]);
    EXPECT_EQ(shell.calls.size(), 3u);
    EXPECT_TRUE(p.messageBoxes.shown().empty());
}

}  // namespace
}  // namespace pendrel::win32
