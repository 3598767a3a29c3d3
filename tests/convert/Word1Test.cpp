#include "convert/Word1.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/desk/Desk.h"
#include "tests/convert/RecordingWindows.h"
#include "tests/convert/ScriptedWord.h"
#include "tests/convert/SleepingPump.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;
using fakes::RecordingWindows;
using Post = RecordingWindows::Post;

constexpr std::intptr_t Typed = 0x00300001;

TEST(MakeLong, PutsHighAboveLowWithoutWideningLowsSign) {
    EXPECT_EQ(Word1::MakeLong(1, 48), 0x00300001);
    EXPECT_EQ(Word1::MakeLong(1, 48), 3145729);
    EXPECT_EQ(Word1::MakeLong(0, 0), 0);
    EXPECT_EQ(Word1::MakeLong(-1, 0), 0x0000FFFF);
    EXPECT_EQ(Word1::MakeLong(0, -1), static_cast<std::int32_t>(0xFFFF0000u));
    EXPECT_EQ(Word1::MakeLong(-1, -1), -1);
}

TEST(AnswerSaveAsDialog, TypesEachCharacterThenPressesAndReleasesSave) {
    RecordingWindows windows;
    fakes::FakeEventPump pump;
    Word1::AnswerSaveAsDialog("C:\\A.pdf", windows, pump, 1s);

    std::vector<Post> expected;
    for (std::uintptr_t code : {67, 58, 92, 65, 46, 112, 100, 102}) {
        expected.push_back({RecordingWindows::Edit, WmChar, code, Typed});
    }
    expected.push_back({RecordingWindows::Save, WmLButtonDown, 1, 0});
    expected.push_back({RecordingWindows::Save, WmLButtonUp, 1, 0});
    EXPECT_EQ(windows.posts, expected);
    EXPECT_EQ(windows.searches.front(), "FindWindow #32770 Save As");
    EXPECT_GE(pump.calls, 1) << "messages are processed after the successful search too";
}

TEST(AnswerSaveAsDialog, EmptyPathTypesNothingButStillPresses) {
    RecordingWindows windows;
    fakes::FakeEventPump pump;
    Word1::AnswerSaveAsDialog("", windows, pump, 1s);
    EXPECT_EQ(windows.posts, (std::vector<Post>{{RecordingWindows::Save, WmLButtonDown, 1, 0},
                                                {RecordingWindows::Save, WmLButtonUp, 1, 0}}));
}

TEST(AnswerSaveAsDialog, GivesUpAfterItsTimeLimitWhileLettingMessagesThrough) {
    fakes::NoWindows windows;
    fakes::SleepingPump pump;
    const auto start = std::chrono::steady_clock::now();
    try {
        Word1::AnswerSaveAsDialog("C:\\A.pdf", windows, pump, 200ms);
        FAIL() << "a dialog that never shows must not be waited for forever";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Description(),
                  "The PDF printer did not ask for a file name within 200 milliseconds.");
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 200ms);
    EXPECT_LT(took, 2s);
    // Asleep between searches: about one pass per 10 ms, not thousands.
    EXPECT_GE(pump.calls, 2);
    EXPECT_LE(pump.calls, 40);
}

TEST(AnswerSaveAsDialog, ANonBmpNameReachesTheRealDialogIntact) {
    desk::Desk desk;
    std::optional<Text> saved;
    std::jthread printer([&](std::stop_token stop) {
        saved = desk::RunSaveAsDialog(desk, "Save As", "Document1.pdf", 5s, stop);
    });
    fakes::SleepingPump pump;
    const Text name = "/tmp/Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E \xE6\x96\x87.pdf";  // Grüß 𝄞 文
    Word1::AnswerSaveAsDialog(name, desk, pump, 2s);
    printer.join();
    EXPECT_EQ(saved, name);
}

TEST(AnswerSaveAsDialog, ADialogThatWasOpenBeforePrintingIsLeftAlone) {
    desk::Desk desk;
    std::optional<Text> usersOwn, printers;
    std::jthread user([&](std::stop_token stop) {
        usersOwn = desk::RunSaveAsDialog(desk, "Save As", "Mine.pdf", 3s, stop);
    });
    while (desk.FindWindow("#32770", "Save As") == 0) std::this_thread::sleep_for(1ms);
    const std::vector<WindowHandle> before = desk.FindWindows("#32770", "Save As");
    std::jthread printer([&](std::stop_token stop) {
        printers = desk::RunSaveAsDialog(desk, "Save As", "Document1.pdf", 5s, stop);
    });
    fakes::SleepingPump pump;
    Word1::AnswerSaveAsDialog("/d/a.pdf", desk, pump, 2s, before);
    printer.join();
    EXPECT_EQ(printers, Text("/d/a.pdf"));
    user.request_stop();
    user.join();
    EXPECT_EQ(usersOwn, std::nullopt) << "the user's dialog got neither text nor a click";
}

struct PrintFixture {
    desk::Desk desk;
    fakes::FakeFileSystem fileSystem;
    fakes::SleepingPump pump;
    fakes::ScriptedWordFactory word{desk, &fileSystem, &pump};

    Text PrinterOf(int app) const {
        Text printer = word.initialPrinter;
        for (const auto& call : word.calls) {
            if (call.app == app && call.name == "Put ActivePrinter") {
                printer = call.args.at(0).AsString();
            }
        }
        return printer;
    }
};

TEST(OpenInWord, OpensThePathWithFifteenOmittedArgumentsInANewWord) {
    PrintFixture f;
    const Text path = "C:\\Docs\\Report.DOC";
    const DispatchPtr app = Word1::OpenInWord(f.word, path);
    ASSERT_TRUE(app);
    EXPECT_EQ(f.word.CallNames(),
              (std::vector<Text>{"1 CreateObject", "1 Get Documents", "1 Documents.Open"}));
    EXPECT_EQ(f.word.calls[0].args.at(0), Variant::String("Word.Application"));
    std::vector<Variant> expected(16, Variant::Missing());
    expected[0] = Variant::String(path);
    EXPECT_EQ(f.word.calls[2].args, expected);
    EXPECT_EQ(f.word.alive, 1);
}

TEST(OpenInWord, EndsItsWordWhenTheDocumentCannotBeOpened) {
    PrintFixture f;
    f.word.scripts["/gone.doc"].failOpen = true;
    EXPECT_THROW(Word1::OpenInWord(f.word, "/gone.doc"), AutomationError);
    EXPECT_EQ(f.word.CallNames().back(), "1 Quit");
    EXPECT_EQ(f.word.alive, 0);
}

TEST(PrintToPdfWriter, SwitchesPrinterPrintsAnswersAndRestoresThePrinter) {
    PrintFixture f;
    f.word.initialPrinter = "Canon \xC3\xA9 on USB001:";
    const DispatchPtr app = Word1::OpenInWord(f.word, "/d/a.doc");
    Word1::PrintToPdfWriter(*app, "/d/a.pdf", f.desk, f.pump, 2s);
    EXPECT_EQ(f.word.CallNames(),
              (std::vector<Text>{"1 CreateObject", "1 Get Documents", "1 Documents.Open",
                                 "1 Get ActivePrinter", "1 Put ActivePrinter", "1 PrintOut",
                                 "1 Put ActivePrinter"}));
    EXPECT_EQ(f.word.calls[4].args.at(0), Variant::String("PDF Writer"));
    EXPECT_EQ(f.PrinterOf(1), f.word.initialPrinter);

    const Variant missing = Variant::Missing();
    const std::vector<Variant> printOut = {Variant::Bool(true),
                                           missing,
                                           Variant::Int32(0),
                                           missing,
                                           missing,
                                           missing,
                                           Variant::Int32(0),
                                           Variant::Int16(1),
                                           Variant::String(""),
                                           Variant::Int32(0),
                                           Variant::Bool(false),
                                           Variant::Bool(true),
                                           Variant::String(""),
                                           missing,
                                           Variant::Bool(false),
                                           Variant::Int16(0),
                                           Variant::Int16(0),
                                           Variant::Int16(0),
                                           Variant::Int16(0)};
    EXPECT_EQ(f.word.calls[5].args, printOut);

    // The printer writes the file once its dialog has been answered.
    while (app->Get("BackgroundPrintingStatus") != Variant::Int32(0))
        f.pump.ProcessPendingMessages(5ms);
    EXPECT_EQ(f.word.dialogResults, std::vector<Text>{"/d/a.pdf"});
    EXPECT_EQ(f.fileSystem.files.count("/d/a.pdf"), 1u);
}

TEST(PrintToPdfWriter, RestoresThePrinterWhenPrintingFails) {
    PrintFixture f;
    f.word.scripts["/d/a.doc"].failPrintOut = true;
    f.word.scripts["/d/b.doc"].showsNoDialog = true;
    const DispatchPtr a = Word1::OpenInWord(f.word, "/d/a.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*a, "/d/a.pdf", f.desk, f.pump, 2s), AutomationError);
    EXPECT_EQ(f.PrinterOf(1), f.word.initialPrinter);

    const DispatchPtr b = Word1::OpenInWord(f.word, "/d/b.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*b, "/d/b.pdf", f.desk, f.pump, 100ms), SystemError);
    EXPECT_EQ(f.PrinterOf(2), f.word.initialPrinter);
    EXPECT_EQ(f.word.CallNames().back(), "2 Put ActivePrinter");
}

}  // namespace
}  // namespace pendrel
