// Word automation over IDispatch: the calls that convert one document, as Invoke receives them;
// the printer's real "#32770" Save As dialog answered through user32 while the user's own stays
// untouched; failures as AutomationError.
#include <gtest/gtest.h>

#include "convert/Word1.h"
#include "platform/win32/Win32EventPump.h"
#include "platform/win32/Win32WindowMessages.h"
#include "tests/fakes/WordCalls.h"
#include "tests/platform/win32/TestWord.h"

namespace pendrel::win32 {
namespace {

using namespace std::chrono_literals;
using testing::SaveAsDialog;
using testing::TestWord;

TEST(WordAutomation, OpensAndPrintsByTheContractThroughThePrintersOwnDialog) {
    ComApartment apartment;
    SaveAsDialog usersOwn;
    TestWord word;
    word.usersDialog = usersOwn.dialog;
    const Text document = "C:\\Docs\\R\xC3\xA9port.doc";
    const Text pdf = "C:\\Out\\Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E \xE6\x96\x87.pdf";  // Grüß 𝄞 文
    const DispatchPtr app = Word1::OpenInWord(word, document);
    Win32WindowMessages windows;
    Win32EventPump pump;
    Word1::PrintToPdfWriter(*app, pdf, windows, pump, 5s);

    ASSERT_TRUE(word.printerDialog);
    ASSERT_EQ(word.frontDialog, usersOwn.dialog) << "the user's dialog is met first";
    for (int i = 0; i < 500 && word.printerDialog->saves == 0; ++i) Sleep(10);
    Sleep(300);  // a second click, or keys gone astray, would have arrived by now
    EXPECT_EQ(word.printerDialog->saves, 1);
    EXPECT_EQ(word.printerDialog->saved, Wide(pdf)) << "typed over the proposed name";
    EXPECT_EQ(usersOwn.EditText(), L"Document1.pdf");
    EXPECT_EQ(usersOwn.saves, 0);

    constexpr WORD MethodOrGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET, Put = DISPATCH_PROPERTYPUT;
    const std::vector<TestWord::Call> calls = {
        {L"CreateObject", 0, false, {Variant::String("Word.Application")}},
        {L"Documents", MethodOrGet, false, {}},
        {L"Open", MethodOrGet, false, fakes::OpenAsWordTakesIt(document)},
        {L"ActivePrinter", MethodOrGet, false, {}},
        {L"ActivePrinter", Put, true, {Variant::String("PDF Writer")}},
        {L"PrintOut", MethodOrGet, false, fakes::PrintOutAsWordTakesIt()},
        {L"ActivePrinter", Put, true, {Variant::String("Local Printer")}},
    };
    EXPECT_EQ(word.calls, calls);
}

// Word's own failures, with its number and description, are met in the window's batch run.
TEST(WordAutomation, FailuresComeWithANumber) {
    ComApartment apartment;
    TestWord word;
    word.fail = [](const TestWord::Call& call, EXCEPINFO&) {
        return call.member == L"PrintOut" ? DISP_E_TYPEMISMATCH : S_OK;
    };
    const auto failure = [](const std::function<void()>& call) -> std::pair<int, Text> {
        try {
            call();
        } catch (const AutomationServerUnavailable& e) {
            return {-e.Number(), e.Description()};  // negative: the server itself is missing
        } catch (const AutomationError& e) {
            return {e.Number(), e.Description()};
        }
        return {0, "no failure"};
    };
    EXPECT_EQ(failure([&] { word.CreateObject("")->Call("PrintOut", {}); }).first,
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(failure([&] { word.CreateObject("")->Get("NoSuchMember"); }).first, 438);
    // No Word is installed under Wine.
    EXPECT_EQ(failure([] { ComAutomationFactory().CreateObject("Word.Application"); }),
              std::pair(-429, Text("Microsoft Word is not installed on this computer.")));
}

}  // namespace
}  // namespace pendrel::win32
