// The real Win32 window: its layout, keyboard order and pointer, files dropped on it, and a
// whole batch run from button clicks to PDF files, with a Word whose printer shows a real
// Save As dialog. Closing it is checked on Pendrel.exe (PendrelExeProbe).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <shlobj.h>

#include "platform/win32/WideText.h"
#include "programs/windows/PendrelWindows.h"
#include "tests/platform/win32/TestSaveAsDialog.h"

namespace pendrel::win32 {
using programs::PendrelWindows;
namespace {

namespace fs = std::filesystem;
using testing::TestSaveAsDialog;

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

}  // namespace
}  // namespace pendrel::win32
