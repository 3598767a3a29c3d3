#include "convert/BatchRun.h"

#include <gtest/gtest.h>

#include "convert/PrintWait.h"
#include "queue/Queue.h"
#include "tests/convert/ScriptedWord.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;
using Files = std::map<Text, std::uint64_t>;

struct BatchFixture : fakes::WordDesk {
    fakes::FakeWindow window;
    fakes::FakeListView list;
    fakes::FakeMessageBoxes messages;
    WaitLimits limits{2s, 2s, 5ms};

    void Add(std::initializer_list<const char*> paths) {
        for (const char* path : paths) Queue::Append(list, path);
    }
    void Run(AutomationFactory* automation = nullptr) {
        BatchRun::ConvertQueue(
            {window, list, files, messages, pump, automation ? *automation : word, desk, limits});
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
    f.Add({"C:\\Docs\\a.doc", "C:\\Docs\\Report.DOC", "C:\\Work\\mydoc", "C:\\Letter.docx"});
    f.list.items[1].status = "Done";  // done in an earlier run: converted again
    f.files.files["C:\\Docs\\a.pdf"] = 99;
    f.Run();
    EXPECT_EQ(f.files.deleted, std::vector<Text>{"C:\\Docs\\a.pdf"}) << "the old PDF goes first";
    EXPECT_EQ(f.files.files, (Files{{"C:\\Docs\\a.pdf", 4096},
                                    {"C:\\Docs\\Report.pdf", 4096},
                                    {"C:\\Work\\mypdf", 4096}}));
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Done", "Done", "Done", "Queued"}));
    EXPECT_EQ(f.word.created, 4);
    EXPECT_EQ(f.word.mostAlive, 1) << "never two Words alive at once";
    EXPECT_EQ(f.word.alive, 0);
    for (const auto& call : f.word.calls) EXPECT_TRUE(call.name != "Quit" || call.args.empty());
    // The .docx is opened, reported and its Word ended, but not printed.
    const std::vector<Text> names = f.word.CallNames();
    EXPECT_EQ(std::vector<Text>(names.end() - 4, names.end()),
              (std::vector<Text>{"4 CreateObject", "4 Get Documents", "4 Open", "4 Quit"}));
    EXPECT_EQ(f.Shown(), std::vector<Text>{"File does not appear to be doc."});
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
    EXPECT_EQ(f.window.pointer, 1);

    f.list.items.clear();  // an empty queue starts no Word
    f.messages.shown.clear();
    f.Run();
    EXPECT_EQ(f.word.created, 4);
    EXPECT_EQ(f.Shown(), std::vector<Text>{"No Word files added."});
    EXPECT_EQ(f.window.pointer, 1);
    EXPECT_EQ(f.window.caption, "Pendrel") << "not left showing \"Processing...\"";
}

TEST(BatchRun, AFailingDocumentIsReportedAndTheRunGoesOn) {
    BatchFixture f;
    f.limits.dialog = f.limits.output = 200ms;
    f.Add(
        {"/d/gone.doc", "/d/bad.doc", "/d/locked.doc", "/d/mute.doc", "/d/blank.doc", "/d/ok.doc"});
    f.word.scripts["/d/gone.doc"].failOpen = true;
    f.word.scripts["/d/bad.doc"].failPrintOut = true;
    f.files.files["/d/locked.pdf"] = 10;
    f.files.failDeletes = true;
    f.word.scripts["/d/mute.doc"].showsNoDialog = true;
    f.word.scripts["/d/blank.doc"].writesNothing = true;
    f.word.scripts["/d/ok.doc"].failQuit = true;
    f.Run();
    EXPECT_EQ(f.Shown(),
              (std::vector<Text>{
                  "/d/gone.doc\n\nError 5174: File not found: /d/gone.doc",
                  "/d/bad.doc\n\nError 4605: The printer is not available.",
                  "/d/locked.doc\n\nError 75: Path/File access error",
                  "/d/mute.doc\n\nError 1460: The PDF printer did not ask for a file name within "
                  "200 milliseconds.",
                  "/d/blank.doc\n\nError 1460: The PDF printer did not write /d/blank.pdf within "
                  "200 milliseconds.",
                  "/d/ok.doc\n\nError -2147023174: The RPC server is unavailable."}));
    EXPECT_EQ(f.Statuses(), std::vector<Text>(6, "Queued"));
    EXPECT_EQ(f.word.alive, 0) << "each Word ended, and a failing Quit not tried twice";
    EXPECT_EQ(f.files.files, (Files{{"/d/locked.pdf", 10}, {"/d/ok.pdf", 4096}}));
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");

    fakes::NoAutomation noWord;  // Word cannot start: each document says so
    f.messages.shown.clear();
    f.Run(&noWord);
    EXPECT_EQ(f.Shown().size(), 6u);
    EXPECT_EQ(f.Shown().back(),
              "/d/ok.doc\n\nError 429: ActiveX component can't create object: Word.Application");
    EXPECT_EQ(f.window.pointer, 1);
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

TEST(BatchRun, ItemsRemovedDuringTheRunAreSkippedAndItemsAddedWaitForTheNextRun) {
    BatchFixture f;
    f.Add({"/d/a.doc", "/d/b.docx", "/d/c.doc", "/d/d.doc"});
    // While a.doc prints, the user removes it and d.doc and adds late.doc; while c.doc
    // prints, b.docx before it.
    f.pump.onPump = [&] {
        const Text last = f.word.CallNames().back();
        if (last == "1 PrintOut" && f.list.ItemCount() == 4) {
            f.list.RemoveItem(4);
            f.list.RemoveItem(1);
            Queue::Append(f.list, "/d/late.doc");
        } else if (last == "3 PrintOut" && f.list.ItemCount() == 3) {
            f.list.RemoveItem(1);
        }
    };
    f.Run();
    EXPECT_EQ(f.list.Texts(), (std::vector<Text>{"/d/c.doc", "/d/late.doc"}));
    EXPECT_EQ(f.Statuses(), (std::vector<Text>{"Done", "Queued"}));
    EXPECT_EQ(f.word.created, 3) << "d.doc was removed before its turn";
    EXPECT_EQ(f.files.files, (Files{{"/d/a.pdf", 4096}, {"/d/c.pdf", 4096}}));
}

// The Convert button runs the batch; a click during a run is ignored.
TEST(ConvertButton, RunsTheQueueBusyAndIgnoresClicksDuringTheRun) {
    desk::Desk desk;
    fakes::FakeFileSystem files;
    fakes::ScriptedWordFactory word{desk, files};
    fakes::FakeForm f{&word, &desk, nullptr, &files};
    Queue::Append(f.list, "/d/a.doc");
    Queue::Append(f.list, "/d/b.doc");
    std::vector<std::pair<Text, int>> seen;  // caption and pointer while printing
    f.pump.onPump = [&] {
        seen.emplace_back(f.window.caption, f.window.pointer);
        if (seen.size() <= 3) f.check2.UserClick();
        std::this_thread::sleep_for(2ms);
    };
    f.check2.UserClick();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), (std::pair<Text, int>{"Pendrel [ Processing... ]", 11}));
    EXPECT_EQ(word.created, 2) << "no run inside the run";
    EXPECT_EQ(word.mostAlive, 1);
    EXPECT_EQ(f.list.items[1].status, "Done");
    EXPECT_EQ(files.files.count("/d/b.pdf"), 1u);
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
    EXPECT_EQ(f.window.pointer, 1);
    EXPECT_EQ(f.check2.value, 0) << "the ignored clicks still bring the button up";

    f.check2.UserClick();  // the run has ended: Convert works again
    EXPECT_EQ(word.created, 4);
}

// Word's count of background print jobs: none.
struct IdleWord : Dispatch {
    Variant Get(const Text&) override { return Variant::Int32(0); }
    void Put(const Text&, const Variant&) override {}
    Variant Call(const Text&, const std::vector<Variant>&) override { return {}; }
};

// A printer that still holds its PDF open has not finished it, however long the size holds.
TEST(PrintWait, APdfStillOpenForWritingIsNotYetWritten) {
    IdleWord word;
    fakes::FakeFileSystem files;
    fakes::FakeEventPump pump;
    files.files["/d/a.pdf"] = 4096;
    files.beingWritten.insert("/d/a.pdf");
    pump.onPump = [&] {
        if (pump.calls == 20) files.beingWritten.clear();
    };
    PrintWait::ForFinishedFile(word, files, pump, "/d/a.pdf", WaitLimits{1s, 2s, 0ms});
    EXPECT_EQ(pump.calls, 20);

    files.beingWritten.insert("/d/a.pdf");
    EXPECT_THROW(
        PrintWait::ForFinishedFile(word, files, pump, "/d/a.pdf", WaitLimits{1s, 50ms, 0ms}),
        SystemError);
}

}  // namespace
}  // namespace pendrel
