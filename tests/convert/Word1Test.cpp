#include "convert/Word1.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/WordContract.h"
#include "tests/fakes/ScriptedWord.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;

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

TEST(Word1, AnswerSaveAsDialogTypesEachUtf16UnitThenPressesAndReleasesSave) {
    const Text path = "C:\\Gr\xC3\xBC\xC3\x9F \xF0\x9D\x84\x9E.pdf";  // Grüß 𝄞
    std::vector<Post> expected;
    for (const char16_t unit : std::u16string(u"C:\\Gr\u00FC\u00DF \U0001D11E.pdf"))
        expected.push_back({WmChar, unit, 0x00300001});
    expected.push_back({WmLButtonDown, 1, 0});
    expected.push_back({WmLButtonUp, 1, 0});
    RecordingDesk windows;
    PrinterDialog printer(windows, "Document1.pdf");
    fakes::SleepingPump pump;
    Word1::AnswerSaveAsDialog(path, windows, pump, 2s);
    EXPECT_EQ(printer.Result(), path);
    EXPECT_EQ(windows.posts, expected);
}

// The failure itself is checked with the batch; here, that the wait sleeps between searches.
TEST(Word1, AnswerSaveAsDialogGivesUpAfterItsTimeLimitSleepingBetweenSearches) {
    desk::Desk desk;
    fakes::SleepingPump pump;
    EXPECT_THROW(Word1::AnswerSaveAsDialog("C:\\A.pdf", desk, pump, 200ms), SystemError);
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
    f.word.scripts["/gone.doc"].failOpen = true;
    f.word.scripts["/d/b.doc"].failPrintOut = true;
    f.word.scripts["/d/c.doc"].showsNoDialog = true;
    EXPECT_THROW(Word1::OpenInWord(f.word, "/gone.doc"), AutomationError);
    EXPECT_EQ(f.word.alive, 0) << "the Word that could not open it is ended";
    const DispatchPtr a = Word1::OpenInWord(f.word, "/d/a.doc");
    Word1::PrintToPdfWriter(*a, "/d/a.pdf", f.desk, f.pump, 2s);
    const DispatchPtr b = Word1::OpenInWord(f.word, "/d/b.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*b, "/d/b.pdf", f.desk, f.pump, 2s), AutomationError);
    const DispatchPtr c = Word1::OpenInWord(f.word, "/d/c.doc");
    EXPECT_THROW(Word1::PrintToPdfWriter(*c, "/d/c.pdf", f.desk, f.pump, 100ms), SystemError);

    std::vector<Variant> open(WordContract::OpenArgumentCount, Variant::Missing());
    open[0] = Variant::String("/d/a.doc");
    std::vector<Text> printers;  // as each Word's printer was put
    for (const auto& call : f.word.calls) {
        if (call.name == "Open" && call.app == 2) {
            EXPECT_EQ(call.args, open);
        }
        if (call.name == "PrintOut") {
            EXPECT_EQ(call.args, WordContract::PrintOutValues());
        }
        if (call.name == "Put ActivePrinter") printers.push_back(call.args.at(0).AsString());
    }
    const Text mine = f.word.initialPrinter;
    EXPECT_EQ(printers,
              (std::vector<Text>{"PDF Writer", mine, "PDF Writer", mine, "PDF Writer", mine}));

    while (a->Get("BackgroundPrintingStatus") != Variant::Int32(0))
        f.pump.ProcessPendingMessages(5ms);
    EXPECT_EQ(f.files.files.count("/d/a.pdf"), 1u) << "the dialog was answered with the name";
}

}  // namespace
}  // namespace pendrel
