// The real Win32 window: its layout and keyboard order, its pointer, and a whole batch run
// from button clicks to PDF files, with a Word whose printer shows a real Save As dialog.
#include <gtest/gtest.h>

#include <fstream>

#include "platform/win32/Win32Api.h"

#include <commctrl.h>
#include <shlobj.h>

#include "platform/win32/PendrelWindows.h"
#include "platform/win32/WideText.h"
#include "tests/win32/TestSaveAsDialog.h"

namespace pendrel::win32 {
namespace {

using testing::TestSaveAsDialog;

RECT ClientPlace(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

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

TEST(Form1Window, LaysOutTheControlsAndTabsThroughThemInFocusOrder) {
    PendrelWindows p;
    p.form.Form_Load();
    p.window.Show();
    const HWND w = p.window.Handle();

    RECT client{};
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 490);
    EXPECT_EQ(client.bottom, 268);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_EQ(p.window.Caption(), "Pendrel");
    EXPECT_NE(SendMessageW(w, WM_GETICON, ICON_BIG, 0) | GetClassLongPtrW(w, GCLP_HICON), 0u);

    EXPECT_TRUE(Same(ClientPlace(p.window.listView1().Handle()), RECT{8, 8, 481, 113}));
    EXPECT_TRUE(Same(ClientPlace(p.window.check1().Handle()), RECT{8, 120, 481, 161}));
    EXPECT_TRUE(Same(ClientPlace(p.window.check4().Handle()), RECT{8, 168, 481, 209}));
    EXPECT_TRUE(Same(ClientPlace(p.window.check2().Handle()), RECT{8, 216, 481, 257}));
    EXPECT_LT(ClientPlace(p.window.command1()).right, 0) << "Command1 lies left of the window";
    EXPECT_EQ(ClassOf(p.window.listView1().Handle()), L"SysListView32");
    EXPECT_EQ(p.window.listView1().ColumnHeaderCount(), 2u);
    EXPECT_EQ(ListView_GetColumnWidth(p.window.listView1().Handle(), 0), 367);  // 5500 twips
    EXPECT_EQ(ListView_GetColumnWidth(p.window.listView1().Handle(), 1), 67);   // 1000 twips

    TOOLINFOW tool{};
    wchar_t tip[80] = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = w;
    tool.uId = reinterpret_cast<UINT_PTR>(p.window.listView1().Handle());
    tool.lpszText = tip;
    SendMessageW(p.window.toolTip(), TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tip, L"Double-click item to remove it.");

    // The focus starts on the hidden button; Tab goes round in the focus order.
    EXPECT_EQ(GetFocus(), p.window.command1());
    const HWND order[] = {p.window.check1().Handle(), p.window.check2().Handle(),
                          p.window.listView1().Handle(), p.window.check4().Handle(),
                          p.window.command1()};
    for (const HWND next : order) {
        MSG tab{GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
        EXPECT_TRUE(IsDialogMessageW(w, &tab));
        EXPECT_EQ(GetFocus(), next) << "after Tab";
    }
}

TEST(Form1Window, ThePointerFollowsTheMouseAndClosingEndsTheProgram) {
    PendrelWindows p;
    bool ended = false;
    p.program.onEnd = [&] { ended = true; };
    p.form.Form_Load();
    p.window.Show();
    SendMessageW(p.window.check1().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(p.window.MousePointer(), MousePointer::Custom);
    EXPECT_EQ(p.window.CurrentCursor(), LoadCursorW(nullptr, IDC_HAND)) << "no HAND-M.CUR here";
    SendMessageW(p.window.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(p.window.MousePointer(), MousePointer::Arrow);
    SendMessageW(p.window.listView1().Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(p.window.MousePointer(), MousePointer::Custom);
    SendMessageW(p.window.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(ended);
}

// Word whose printer writes what its Save As dialog is given.
class PrinterWord : public Dispatch {
  public:
    explicit PrinterWord(std::vector<std::unique_ptr<TestSaveAsDialog>>& dialogs)
        : dialogs_(dialogs) {}
    Variant Get(const Text& name) override {
        if (name == "Documents") return Variant::Object(std::make_shared<PrinterWord>(dialogs_));
        if (name == "ActivePrinter") return Variant::String("Local Printer");
        return Variant::Int32(0);
    }
    void Put(const Text&, const Variant&) override {}
    Variant Call(const Text& name, const std::vector<Variant>&) override {
        if (name == "PrintOut") {
            dialogs_.push_back(std::make_unique<TestSaveAsDialog>([](const std::wstring& path) {
                std::ofstream(path.c_str(), std::ios::binary) << "%PDF-1.4 printed\n";
            }));
        }
        return Variant();
    }

  private:
    std::vector<std::unique_ptr<TestSaveAsDialog>>& dialogs_;
};

struct PrinterWordFactory : AutomationFactory {
    std::vector<std::unique_ptr<TestSaveAsDialog>> dialogs;
    DispatchPtr CreateObject(const Text&) override {
        return std::make_shared<PrinterWord>(dialogs);
    }
};

void Click(HWND button) {
    PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
    PostMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
}

TEST(Form1Window, AWholeBatchRunsFromTheButtonsToPdfFiles) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"pendrel-batch-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.doc", L"\\b.doc"})
        std::ofstream((folder + name).c_str()) << "document";
    std::ofstream((folder + L"\\a.pdf").c_str()) << "an old PDF";

    PrinterWordFactory word;
    PendrelWindows p(&word);
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    p.window.Show();
    auto& list = p.window.listView1();

    p.window.commonDialog1().setNextResult(folder + std::wstring(L"\0a.doc\0notes.txt\0\0", 19));
    Click(p.window.check1().Handle());
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return list.ItemCount() == 1; }));
    p.folderBrowser.setNextFolder(Narrow(folder));
    Click(p.window.check4().Handle());
    ASSERT_TRUE(PumpUntil(p.eventPump, [&] { return list.ItemCount() == 3; }));
    EXPECT_EQ(list.ItemText(1), Narrow(folder) + "\\a.doc");
    EXPECT_EQ(list.SubItem(1, 1), "Queued");

    Click(p.window.check2().Handle());
    ASSERT_TRUE(PumpUntil(
        p.eventPump, [&] { return p.window.Caption() == "Pendrel [ Done ]"; }, 60));
    for (std::size_t i = 1; i <= 3; ++i) EXPECT_EQ(list.SubItem(i, 1), "Done") << i;
    EXPECT_EQ(word.dialogs.size(), 3u);
    for (const wchar_t* name : {L"\\a.pdf", L"\\b.pdf"}) {
        std::ifstream pdf((folder + name).c_str());
        std::string text;
        std::getline(pdf, text);
        EXPECT_EQ(text, "%PDF-1.4 printed") << Narrow(name);
    }
    EXPECT_TRUE(p.messageBoxes.shown().empty());
    EXPECT_EQ(p.window.MousePointer(), MousePointer::Arrow);
    EXPECT_EQ(p.window.check1().Value(), 0) << "a push button is up again";

    for (const wchar_t* name : {L"\\a.doc", L"\\b.doc", L"\\a.pdf", L"\\b.pdf"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW(folder.c_str());
}

// What Explorer hands a window when files are dropped on it.
HGLOBAL DropOf(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& path : paths) list += path + L'\0';
    list += L'\0';
    const HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(),
           list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return memory;
}

TEST(Form1Window, DroppedFilesAndFoldersAreQueuedAndMissingOnesNamed) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"pendrel-drop-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
    for (const wchar_t* name : {L"\\a.doc", L"\\sub\\b.doc", L"\\c.txt"})
        std::ofstream((folder + name).c_str()) << "document";

    PendrelWindows p;
    p.messageBoxes.setAutoAnswer(true);
    p.form.Form_Load();
    SendMessageW(p.window.Handle(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DropOf({folder + L"\\c.txt", folder + L"\\sub",
                                                  folder + L"\\a.doc", folder + L"\\gone.doc"})),
                 0);
    auto& list = p.window.listView1();
    ASSERT_EQ(list.ItemCount(), 2u);
    EXPECT_EQ(list.ItemText(1), Narrow(folder) + "\\sub\\b.doc");
    EXPECT_EQ(list.ItemText(2), Narrow(folder) + "\\a.doc");
    ASSERT_EQ(p.messageBoxes.shown().size(), 1u);
    EXPECT_NE(p.messageBoxes.shown()[0].text.find("gone.doc"), Text::npos);

    for (const wchar_t* name : {L"\\a.doc", L"\\sub\\b.doc", L"\\c.txt"})
        DeleteFileW((folder + name).c_str());
    RemoveDirectoryW((folder + L"\\sub").c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace pendrel::win32
