// The printer's Save As dialog answered through user32 (Win32WindowMessages), against real
// "#32770" dialogs on threads of their own.
#include <gtest/gtest.h>

#include <algorithm>

#include "convert/Word1.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32WindowMessages.h"
#include "tests/win32/TestSaveAsDialog.h"

namespace pendrel::win32 {
namespace {

using namespace std::chrono_literals;
using testing::TestSaveAsDialog;

WindowHandle H(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

TEST(Win32SaveAsDialog, FindsTheDialogAndItsChildrenAsWindowsDocumentsIt) {
    TestSaveAsDialog first, second;
    Win32WindowMessages windows;
    EXPECT_NE(windows.FindWindow("#32770", "save as"), 0u) << "case does not matter";
    const auto all = windows.FindWindows("#32770", "Save As");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_NE(std::find(all.begin(), all.end(), H(first.dialog)), all.end());
    EXPECT_NE(std::find(all.begin(), all.end(), H(second.dialog)), all.end());

    const WindowHandle dialog = H(first.dialog);
    EXPECT_EQ(windows.FindWindowEx(dialog, 0, "Edit", std::nullopt), H(first.edit))
        << "the label before it is passed over";
    // "Child after" goes on with the children after it, whatever their class.
    EXPECT_EQ(windows.FindWindowEx(dialog, H(first.edit), "Button", Text("&Save")), H(first.save));
    EXPECT_EQ(windows.FindWindowEx(dialog, H(first.label), "Button", std::nullopt), H(first.save));
    EXPECT_EQ(windows.FindWindowEx(dialog, H(first.save), "Button", std::nullopt), H(first.cancel));
    EXPECT_EQ(windows.FindWindowEx(dialog, H(first.cancel), "Button", std::nullopt), 0u);
    EXPECT_EQ(windows.FindWindowEx(dialog, H(second.edit), "Button", std::nullopt), 0u)
        << "a child-after of another dialog finds nothing";
}

TEST(Win32SaveAsDialog, TypesThePathOverThePreselectedNameAndClicksSaveOnce) {
    TestSaveAsDialog dialog({}, /*closeOnSave=*/false);
    Win32WindowMessages windows;
    Win32EventPump pump;
    const Text path = "C:\\Out\\Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E \xE6\x96\x87.pdf";  // Grüß 𝄞 文
    Word1::AnswerSaveAsDialog(path, windows, pump, 5s);
    const auto saved = dialog.WaitForSave(5s);
    ASSERT_TRUE(saved);
    EXPECT_EQ(Narrow(*saved), path);
    Sleep(300);  // a second click, were there one, would have arrived by now
    EXPECT_EQ(dialog.SaveClicks(), 1);
}

// Word as far as printing goes: PrintOut makes the printer show its dialog.
class PrintingWord : public Dispatch {
  public:
    std::unique_ptr<TestSaveAsDialog> printerDialog;
    Text printer = "Local Printer";
    HWND raiseAfterPrinting = nullptr;
    HWND foundFirstAfterPrinting = nullptr;

    Variant Get(const Text& name) override {
        if (name == "ActivePrinter") return Variant::String(printer);
        return Variant();
    }
    void Put(const Text& name, const Variant& value) override {
        if (name == "ActivePrinter") printer = value.AsString();
    }
    Variant Call(const Text& name, const std::vector<Variant>&) override {
        if (name != "PrintOut") return Variant();
        printerDialog = std::make_unique<TestSaveAsDialog>();
        // The user's dialog comes to the front: the first one a search meets.
        if (raiseAfterPrinting)
            SetWindowPos(raiseAfterPrinting, HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        foundFirstAfterPrinting = FindWindowW(L"#32770", L"Save As");
        return Variant();
    }
};

TEST(Win32SaveAsDialog, ADialogOpenBeforePrintingIsNeverTypedInto) {
    TestSaveAsDialog usersOwn({}, /*closeOnSave=*/false);
    Win32WindowMessages windows;
    Win32EventPump pump;
    PrintingWord word;
    word.raiseAfterPrinting = usersOwn.dialog;
    Word1::PrintToPdfWriter(word, "C:\\Out\\a.pdf", windows, pump, 5s);
    ASSERT_TRUE(word.printerDialog);
    EXPECT_EQ(word.foundFirstAfterPrinting, usersOwn.dialog)
        << "the user's dialog is the one a plain search meets first";
    EXPECT_EQ(word.printerDialog->WaitForSave(5s), std::wstring(L"C:\\Out\\a.pdf"));
    EXPECT_EQ(word.printer, "Local Printer");
    Sleep(200);
    EXPECT_EQ(usersOwn.EditText(), L"Document1.pdf");
    EXPECT_EQ(usersOwn.SaveClicks(), 0);
}

}  // namespace
}  // namespace pendrel::win32
