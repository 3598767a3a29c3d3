#include "convert/BatchRun.h"

#include <gtest/gtest.h>

#include "platform/desk/Desk.h"
#include "queue/Queue.h"
#include "tests/convert/ScriptedWord.h"
#include "tests/convert/SleepingPump.h"
#include "tests/fakes/FakeControls.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;

struct BatchFixture {
    fakes::FakeWindow window;
    fakes::FakeListView list;
    fakes::FakeFileSystem fileSystem;
    fakes::FakeMessageBoxes messages;
    fakes::SleepingPump pump;
    desk::Desk desk;
    fakes::ScriptedWordFactory word{desk, &fileSystem, &pump};
    WaitLimits limits{2s, 2s, 5ms};

    void Add(std::initializer_list<const char*> paths) {
        for (const char* path : paths) Queue::Append(list, path);
    }
    void Run() {
        BatchRun::ConvertQueue({window, list, fileSystem, messages, pump, word, desk, limits});
    }
    std::vector<Text> Statuses() const {
        std::vector<Text> out;
        for (const auto& item : list.items) out.push_back(item.status);
        return out;
    }
    std::vector<Text> Shown() const {
        std::vector<Text> out;
        for (const auto& m : messages.shown) {
            EXPECT_EQ(m.title, "Quarrendon");
            out.push_back(m.text);
        }
        return out;
    }
};

TEST(BatchRun, ConvertsEachDocumentInAWordOfItsOwnOneAfterAnother) {
    BatchFixture f;
    f.Add({"C:\\Docs\\a.doc", "C:\\Docs\\Report.DOC", "C:\\Work\\mydoc"});
    f.list.items[1].status = "Done";  // done in an earlier run: converted again
    f.Run();
    EXPECT_EQ(f.word.dialogResults,
              (std::vector<Text>{"C:\\Docs\\a.pdf", "C:\\Docs\\Report.pdf", "C:\\Work\\mypdf"}));
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Done", "Done", "Done"}));
    EXPECT_EQ(f.word.created, 3);
    EXPECT_EQ(f.word.mostAlive, 1) << "never two Words alive at once";
    EXPECT_EQ(f.word.alive, 0);
    EXPECT_EQ(f.word.CallsNamed("Quit").size(), 3u);
    for (const auto& quit : f.word.CallsNamed("Quit")) EXPECT_TRUE(quit.args.empty());
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
    EXPECT_EQ(f.window.pointer, 1);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(BatchRun, DeletesAnExistingPdfBeforePrinting) {
    BatchFixture f;
    f.Add({"/d/Report.doc"});
    f.fileSystem.files["/d/Report.pdf"] = 99;
    f.Run();
    EXPECT_EQ(f.fileSystem.deleted, std::vector<Text>{"/d/Report.pdf"});
    EXPECT_EQ(f.fileSystem.files.at("/d/Report.pdf"), f.word.pdfSize) << "the new file";
    EXPECT_EQ(f.Statuses(), std::vector<Text>{"Done"});
}

TEST(BatchRun, ANameNotEndingInDocIsOpenedReportedAndEndedButKeepsItsStatus) {
    BatchFixture f;
    f.Add({"/d/Letter.docx", "/d/b.doc"});
    f.Run();
    EXPECT_EQ(f.word.CallNames()[0], "1 CreateObject");
    EXPECT_EQ(f.word.CallNames()[2], "1 Documents.Open");
    EXPECT_EQ(f.word.CallsNamed("PrintOut").size(), 1u);
    EXPECT_EQ(f.word.CallsNamed("Quit").at(0).app, 1);
    EXPECT_EQ(f.Shown(), std::vector<Text>{"File does not appear to be doc."});
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Queued", "Done"}));
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
}

TEST(BatchRun, AnEmptyQueueStartsNoWord) {
    BatchFixture f;
    f.Run();
    EXPECT_EQ(f.word.created, 0);
    EXPECT_EQ(f.Shown(), std::vector<Text>{"No Word files added."});
    EXPECT_EQ(f.window.pointer, 1);
    EXPECT_EQ(f.window.caption, "Pendrel") << "not left showing \"Processing...\"";
}

TEST(BatchRun, AFailingDocumentIsReportedAndTheRunGoesOn) {
    BatchFixture f;
    f.Add({"/d/gone.doc", "/d/bad.doc", "/d/locked.doc", "/d/ok.doc"});
    f.word.scripts["/d/gone.doc"].failOpen = true;
    f.word.scripts["/d/bad.doc"].failPrintOut = true;
    f.word.scripts["/d/ok.doc"].failQuit = true;
    f.fileSystem.files["/d/locked.pdf"] = 10;
    f.fileSystem.failDeletes = true;
    f.Run();
    EXPECT_EQ(f.Shown(), (std::vector<Text>{
                             "/d/gone.doc\n\nError 5174: File not found: /d/gone.doc",
                             "/d/bad.doc\n\nError 4605: The printer is not available.",
                             "/d/locked.doc\n\nError 75: Path/File access error",
                             "/d/ok.doc\n\nError -2147023174: The RPC server is unavailable."}));
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Queued", "Queued", "Queued", "Queued"}));
    EXPECT_EQ(f.word.alive, 0) << "each failing document's Word is ended";
    EXPECT_EQ(f.word.CallsNamed("Quit").size(), 4u) << "a failing Quit is not tried twice";
    EXPECT_EQ(f.word.dialogResults, std::vector<Text>{"/d/ok.pdf"});
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
}

TEST(BatchRun, AWordThatCannotStartIsReportedForEachDocument) {
    BatchFixture f;
    f.Add({"/d/a.doc", "/d/b.doc"});
    f.word.failCreate = true;
    f.Run();
    ASSERT_EQ(f.messages.shown.size(), 2u);
    EXPECT_EQ(f.messages.shown[1].text,
              "/d/b.doc\n\nError 429: ActiveX component can't create object");
    EXPECT_EQ(f.window.pointer, 1);
}

TEST(BatchRun, ADialogThatNeverShowsFailsTheItemAfterTheLimit) {
    BatchFixture f;
    f.limits.dialog = 200ms;
    f.Add({"/d/a.doc", "/d/b.doc"});
    f.word.scripts["/d/a.doc"].showsNoDialog = true;
    f.Run();
    EXPECT_EQ(f.Shown(), std::vector<Text>{"/d/a.doc\n\nError 1460: The PDF printer did not ask "
                                           "for a file name within 200 milliseconds."});
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Queued", "Done"}));
    EXPECT_EQ(f.word.CallNames()[6], "1 Put ActivePrinter") << "printer restored before Quit";
    EXPECT_EQ(f.word.calls[6].args.at(0), Variant::String(f.word.initialPrinter));
    EXPECT_EQ(f.word.CallNames()[7], "1 Quit");
}

TEST(BatchRun, APdfThatNeverAppearsIsNotMarkedDone) {
    BatchFixture f;
    f.limits.output = 200ms;
    f.Add({"/d/a.doc"});
    f.word.scripts["/d/a.doc"].writesNothing = true;
    f.Run();
    EXPECT_EQ(f.Shown(), std::vector<Text>{"/d/a.doc\n\nError 1460: The PDF printer did not "
                                           "write /d/a.pdf within 200 milliseconds."});
    EXPECT_EQ(f.Statuses(), std::vector<Text>{"Queued"});
    EXPECT_EQ(f.word.alive, 0);
}

TEST(BatchRun, AFailedPrintJobIsReportedAtOnceNotAfterTheLimit) {
    BatchFixture f;
    f.limits.output = 30s;
    f.Add({"/d/a.doc"});
    f.word.scripts["/d/a.doc"].jobFails = true;
    const auto start = std::chrono::steady_clock::now();
    f.Run();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(f.Shown(), std::vector<Text>{
                             "/d/a.doc\n\nError -2147467259: The document could not be rendered."});
    EXPECT_EQ(f.Statuses(), std::vector<Text>{"Queued"});
}

TEST(BatchRun, ItemsRemovedDuringTheRunAreSkippedAndNoOtherItemIsMarked) {
    BatchFixture f;
    f.Add({"/d/a.doc", "/d/b.docx", "/d/c.doc", "/d/d.doc"});
    // While a.doc prints, the user removes it and d.doc (the list's handlers run in the wait).
    f.pump.onPump = [&] {
        if (f.list.ItemCount() == 4 && !f.word.CallsNamed("PrintOut").empty()) {
            f.list.RemoveItem(4);
            f.list.RemoveItem(1);
        }
    };
    f.Run();
    EXPECT_EQ(f.list.Texts(), (std::vector<Text>{"/d/b.docx", "/d/c.doc"}));
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Queued", "Done"}));
    EXPECT_EQ(f.word.created, 3) << "d.doc was removed before its turn";
    EXPECT_EQ(f.word.dialogResults, (std::vector<Text>{"/d/a.pdf", "/d/c.pdf"}));
}

TEST(BatchRun, ItemsAddedDuringTheRunWaitForTheNextRun) {
    BatchFixture f;
    f.Add({"/d/a.doc"});
    f.pump.onPump = [&] {
        if (f.list.ItemCount() == 1) Queue::Append(f.list, "/d/late.doc");
    };
    f.Run();
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Done", "Queued"}));
    EXPECT_EQ(f.word.created, 1);
}

}  // namespace
}  // namespace pendrel
