#include "convert/Word1.h"

#include <gtest/gtest.h>

#include <array>

#include "tests/convert/ScriptedWord.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;

TEST(MakeLong, PutsHighAboveLowWithoutWideningLowsSign) {
    EXPECT_EQ(Word1::MakeLong(1, 48), 0x00300001);
    EXPECT_EQ(Word1::MakeLong(0, 0), 0);
    EXPECT_EQ(Word1::MakeLong(-1, 0), 0x0000FFFF);
    EXPECT_EQ(Word1::MakeLong(0, -1), static_cast<std::int32_t>(0xFFFF0000u));
    EXPECT_EQ(Word1::MakeLong(-1, -1), -1);
}

using Post = std::array<std::intptr_t, 3>;  // message, wParam, lParam

// The real desk, recording what is posted to it.
struct RecordingDesk : desk::Desk {
    std::vector<Post> posts;
    bool PostMessage(WindowHandle w, std::uint32_t m, std::uintptr_t wp,
                     std::intptr_t lp) override {
        posts.push_back({m, static_cast<std::intptr_t>(wp), lp});
        return Desk::PostMessage(w, m, wp, lp);
    }
};

// A printer's "Save As" dialog on a thread of its own.
struct PrinterDialog {
    std::optional<Text> saved;
    std::jthread thread;
    PrinterDialog(desk::Desk& d, const Text& suggestion)
        : thread([this, &d, suggestion](std::stop_token stop) {
              saved = desk::RunSaveAsDialog(d, "Save As", suggestion, 3s, stop);
          }) {}
    std::optional<Text> Result() {
        thread.join();
        return saved;
    }
};

TEST(Word1, AnswerSaveAsDialogTypesEachUnitThenPressesAndReleasesSave) {
    const std::vector<Post> press = {{WmLButtonDown, 1, 0}, {WmLButtonUp, 1, 0}};
    std::vector<Post> typed;
    for (int code : {67, 58, 92, 65, 46, 112, 100, 102})
        typed.push_back({WmChar, code, 0x00300001});
    typed.insert(typed.end(), press.begin(), press.end());
    const Text nonBmp = "/tmp/Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E \xE6\x96\x87.pdf";  // Grüß 𝄞 文
    struct Case {
        Text path, saved;
        std::vector<Post> posts;  // not compared when empty
    };
    for (const Case& c : {Case{"C:\\A.pdf", "C:\\A.pdf", typed}, Case{"", "Document1.pdf", press},
                          Case{nonBmp, nonBmp, {}}}) {
        RecordingDesk windows;
        PrinterDialog printer(windows, "Document1.pdf");
        fakes::SleepingPump pump;
        Word1::AnswerSaveAsDialog(c.path, windows, pump, 2s);
        EXPECT_EQ(printer.Result(), c.saved);
        if (!c.posts.empty()) {
            EXPECT_EQ(windows.posts, c.posts) << c.path;
        }
    }
}

TEST(Word1, AnswerSaveAsDialogGivesUpAfterItsTimeLimitSleepingBetweenSearches) {
    desk::Desk desk;
    fakes::SleepingPump pump;
    const auto start = std::chrono::steady_clock::now();
    try {
        Word1::AnswerSaveAsDialog("C:\\A.pdf", desk, pump, 200ms);
        FAIL() << "a dialog that never shows must not be waited for forever";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Description(),
                  "The PDF printer did not ask for a file name within 200 milliseconds.");
    }
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 200ms);
    EXPECT_LT(took, 2s);
    EXPECT_GE(pump.calls, 2);
    EXPECT_LE(pump.calls, 40) << "about one search per 10 ms, not thousands";
}

TEST(Word1, AnswerSaveAsDialogLeavesADialogThatWasOpenBeforePrintingAlone) {
    desk::Desk desk;
    PrinterDialog users(desk, "Mine.pdf");
    while (desk.FindWindow("#32770", "Save As") == 0) std::this_thread::sleep_for(1ms);
    const std::vector<WindowHandle> before = desk.FindWindows("#32770", "Save As");
    PrinterDialog printers(desk, "Document1.pdf");
    fakes::SleepingPump pump;
    Word1::AnswerSaveAsDialog("/d/a.pdf", desk, pump, 2s, before);
    EXPECT_EQ(printers.Result(), Text("/d/a.pdf"));
    users.thread.request_stop();
    EXPECT_EQ(users.Result(), std::nullopt) << "the user's dialog got neither text nor a click";
}

TEST(Word1, OpensInAWordOfItsOwnPrintsToPdfWriterAndAlwaysRestoresThePrinter) {
    fakes::WordDesk f;
    f.word.initialPrinter = "Canon \xC3\xA9 on USB001:";
    f.word.scripts["/gone.doc"].failOpen = true;
    f.word.scripts["/d/b.doc"].failPrintOut = true;
    f.word.scripts["/d/c.doc"].showsNoDialog = true;
    EXPECT_THROW(Word1::OpenInWord(f.word, "/gone.doc"), AutomationError);
    EXPECT_EQ(f.word.alive, 0) << "the Word that could not open it is ended";
    const DispatchPtr a = Word1::OpenInWord(f.word, "C:\\Docs\\a.DOC");
    Word1::PrintToPdfWriter(*a, "/d/a.pdf", f.desk, f.pump, 2s);
    const DispatchPtr b = Word1::OpenInWord(f.word, "/d/b.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*b, "/d/b.pdf", f.desk, f.pump, 2s), AutomationError);
    const DispatchPtr c = Word1::OpenInWord(f.word, "/d/c.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*c, "/d/c.pdf", f.desk, f.pump, 100ms), SystemError);

    const std::vector<Text> calls = f.word.CallNames();
    EXPECT_EQ(
        std::vector<Text>(calls.begin(), calls.begin() + 11),
        (std::vector<Text>{"1 CreateObject", "1 Get Documents", "1 Open", "1 Quit",
                           "2 CreateObject", "2 Get Documents", "2 Open", "2 Get ActivePrinter",
                           "2 Put ActivePrinter", "2 PrintOut", "2 Put ActivePrinter"}));
    EXPECT_EQ(calls.back(), "4 Put ActivePrinter");
    std::vector<Variant> open(16, Variant::Missing());
    open[0] = Variant::String("C:\\Docs\\a.DOC");
    EXPECT_EQ(f.word.calls[6].args, open);
    std::vector<Text> printers;  // as each app's printer was put
    for (const auto& call : f.word.calls) {
        if (call.name == "Put ActivePrinter") printers.push_back(call.args.at(0).AsString());
    }
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(printers.at(i), i % 2 ? f.word.initialPrinter : "PDF Writer") << i;
    }

    // The output name reaches the printer only through its dialog.
    std::vector<Variant> printOut(19, Variant::Missing());
    printOut[0] = printOut[11] = Variant::Bool(true);
    printOut[10] = printOut[14] = Variant::Bool(false);
    printOut[2] = printOut[6] = printOut[9] = Variant::Int32(0);
    printOut[7] = Variant::Int16(1);
    printOut[8] = printOut[12] = Variant::String("");
    for (int i = 15; i < 19; ++i) printOut[i] = Variant::Int16(0);
    EXPECT_EQ(f.word.calls[9].args, printOut);

    while (a->Get("BackgroundPrintingStatus") != Variant::Int32(0))
        f.pump.ProcessPendingMessages(5ms);
    EXPECT_EQ(f.files.files.count("/d/a.pdf"), 1u) << "the dialog was answered with the name";
}

}  // namespace
}  // namespace pendrel
