#include "convert/BatchRun.h"

#include <gtest/gtest.h>

#include "convert/PrintWait.h"
#include "queue/Queue.h"
#include "tests/fakes/FakeForm.h"
#include "tests/fakes/ScriptedWord.h"
#include "tests/fakes/WordCalls.h"

namespace pendrel {
namespace {

using namespace std::chrono_literals;
using Files = std::map<Text, std::uint64_t>;
using Texts = std::vector<Text>;

struct Batch : fakes::WordFixture {
    fakes::FakeWindow window;
    fakes::FakeListView list;
    fakes::FakeMessageBoxes messages;
    fakes::FakeRunProgress progress;
    fakes::RecordingLookAhead lookAhead;
    WaitLimits limits{2s, 2s, 5ms};

    void Add(std::initializer_list<const char*> paths) {
        for (const char* path : paths) Queue::Append(list, path);
    }
    void Run(AutomationFactory* automation = nullptr) {
        BatchRun::ConvertQueue({window, list, files, messages, pump,
                                automation ? *automation : word, word, progress, lookAhead, nullptr,
                                limits});
    }
};

// Each document in a Word of its own, one after another, the list following; then a run with no
// Word at all, and one with nothing queued.
TEST(BatchRun, ConvertsEachDocumentInAWordOfItsOwnOneAfterAnother) {
    Batch f;
    f.files.separator = '\\';
    // A name beyond the Basic Multilingual Plane is typed into the dialog whole.
    f.Add({"C:\\Docs\\a.doc", "C:\\Docs\\\xF0\x9D\x84\x9E.DOC", "C:\\Work\\mydoc",
           "C:\\Letter.docx"});
    f.list.items[1].status = "Done";  // done in an earlier run: converted again
    f.files.files["C:\\Docs\\a.pdf"] = 99;
    // The old PDF makes way for the printer under a hidden name in its folder.
    Files whilePrinting;
    std::set<Text> hiddenWhilePrinting;
    f.pump.onPump = [&] {
        if (f.word.asking != 1) return;  // while the first Word prints
        whilePrinting = f.files.files;
        hiddenWhilePrinting = f.files.hidden;
    };
    f.Run();
    EXPECT_EQ(whilePrinting, (Files{{"C:\\Docs\\.a.pdf.pendrel-old", 99}}));
    EXPECT_EQ(hiddenWhilePrinting, std::set<Text>{"C:\\Docs\\.a.pdf.pendrel-old"});
    EXPECT_EQ(f.files.files, (Files{{"C:\\Docs\\a.pdf", 4096},
                                    {"C:\\Docs\\\xF0\x9D\x84\x9E.pdf", 4096},
                                    {"C:\\Work\\mypdf", 4096}}));
    EXPECT_TRUE(f.files.hidden.empty());
    EXPECT_EQ(f.list.Statuses(), (Texts{"Done", "Done", "Done", "Queued"}));
    EXPECT_EQ(f.list.madeVisible, (std::vector<std::size_t>{1, 2, 3, 4})) << "the list follows";
    EXPECT_EQ(f.progress.shown, (Texts{"0/4", "1/4", "2/4", "3/4", "4/4 failed", "clear"}));
    EXPECT_EQ(f.word.created, 4);
    EXPECT_EQ(f.word.mostAlive, 1) << "never two Words alive at once";
    EXPECT_EQ(f.word.alive, 0);
    // The .docx is opened, reported and its Word ended, but not printed.
    Texts fourth;
    for (const fakes::WordCall& call : f.word.calls)
        if (call.app == 4) fourth.push_back(call.name);
    EXPECT_EQ(fourth, (Texts{"CreateObject", "Get Documents", "Open", "Quit"}));
    EXPECT_EQ(f.messages.Texts(), Texts{"File does not appear to be doc."});
    EXPECT_EQ(f.window.caption, "Pendrel [ Done ]");
    EXPECT_EQ(f.window.pointer, MousePointer::Arrow);

    // No Word at all: said once, and the queue is left as it was.
    struct NoWordAtAll : AutomationFactory {
        int asked = 0;
        DispatchPtr CreateObject(const Text&) override {
            ++asked;
            throw AutomationServerUnavailable(429, "Microsoft Word is not installed.");
        }
    } noWord;
    f.messages.shown.clear();
    f.Run(&noWord);
    EXPECT_EQ(noWord.asked, 1);
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_TRUE(f.messages.shown[0].text.ends_with("Error 429: Microsoft Word is not installed."));
    EXPECT_EQ(f.list.Statuses(), (Texts{"Done", "Done", "Done", "Queued"}));
    EXPECT_EQ(f.window.caption, "Pendrel");
    EXPECT_TRUE(f.lookAhead.expected.back().empty()) << "the engine is told the run is over";

    f.list.items.clear();  // an empty queue starts no Word
    f.messages.shown.clear();
    f.progress.shown.clear();
    f.Run();
    EXPECT_EQ(f.word.created, 4);
    EXPECT_EQ(f.messages.Texts(), Texts{"No Word files added."});
    EXPECT_EQ(f.progress.shown, Texts{"clear"});
    EXPECT_EQ(f.window.caption, "Pendrel") << "not left showing \"Processing...\"";
}

// Each failure is reported with its number, the item stays "Queued", its Word is ended and the
// PDF of an earlier run comes back as it was, also one an interrupted run left set aside.
TEST(BatchRun, AFailingDocumentIsReportedItsOldPdfPutBackAndTheRunGoesOn) {
    Batch f;
    f.limits.dialog = f.limits.output = 200ms;
    f.Add({"/d/gone.doc", "/d/bad.doc", "/d/locked.doc", "/d/mute.doc", "/d/blank.doc",
           "/d/broken.doc", "/d/ok.doc"});
    f.word.scripts["/d/gone.doc"].failOpen = true;
    f.word.scripts["/d/bad.doc"].failPrintOut = true;
    f.word.scripts["/d/mute.doc"].showsNoDialog = true;
    f.word.scripts["/d/blank.doc"].writesNothing = true;
    f.word.scripts["/d/broken.doc"].jobFails = true;
    f.word.scripts["/d/ok.doc"].failQuit = true;
    // PDFs of earlier runs; two set aside by a run that was interrupted, one of them since
    // replaced by a newer PDF.
    f.files.files = {{"/d/bad.pdf", 7},     {"/d/.bad.pdf.pendrel-old", 6},
                     {"/d/blank.pdf", 8},   {"/d/broken.pdf", 9},
                     {"/d/locked.pdf", 10}, {"/d/.mute.pdf.pendrel-old", 11}};
    f.files.hidden = {"/d/.bad.pdf.pendrel-old", "/d/.mute.pdf.pendrel-old"};
    f.files.locked.insert("/d/locked.pdf");
    f.Run();
    EXPECT_EQ(f.messages.Texts(),
              (Texts{"/d/gone.doc\n\nError 5174: File not found: /d/gone.doc",
                     "/d/bad.doc\n\nError 4605: The printer is not available.",
                     "/d/locked.doc\n\nError 75: Path/File access error",
                     "/d/mute.doc\n\nError 1460: The PDF printer did not ask for a file name "
                     "within 200 milliseconds.",
                     "/d/blank.doc\n\nError 1460: The PDF printer did not write /d/blank.pdf "
                     "within 200 milliseconds.",
                     "/d/broken.doc\n\nError -2147467259: The document could not be rendered.",
                     "/d/ok.doc\n\nError -2147023174: The RPC server is unavailable."}));
    EXPECT_EQ(f.list.Statuses(), Texts(7, "Queued"));
    EXPECT_EQ(f.word.alive, 0) << "each Word ended, and a failing Quit not tried twice";
    // Word is called as the contract says, and each Word's own printer comes back.
    Texts printers, expected;
    for (const fakes::WordCall& call : f.word.calls) {
        if (call.name == "PrintOut") {
            EXPECT_EQ(call.args, fakes::PrintOutAsWordTakesIt());
        }
        if (call.name == "Put ActivePrinter") printers.push_back(call.args.at(0).AsString());
        if (call.name == "Open") {
            EXPECT_EQ(call.args, fakes::OpenAsWordTakesIt(call.args.at(0).AsString()));
        }
    }
    for (int i = 0; i < 5; ++i) expected.insert(expected.end(), {"PDF Writer", "HP LaserJet"});
    EXPECT_EQ(printers, expected) << "for bad, mute, blank, broken and ok.doc";
    EXPECT_EQ(f.files.files, (Files{{"/d/bad.pdf", 7},
                                    {"/d/blank.pdf", 8},
                                    {"/d/broken.pdf", 9},
                                    {"/d/locked.pdf", 10},
                                    {"/d/mute.pdf", 11},
                                    {"/d/ok.pdf", 4096}}));
    EXPECT_TRUE(f.files.hidden.empty());
}

// Only a PDF is ever replaced: a folder, a link, a pipe, the user's own file under the PDF's
// name (a document named "..._doc" prints to "..._pdf") and a read-only PDF each fail their
// item, say why, and are left as they were, without the document being opened. Two documents
// that print to one PDF: the first is converted, the second fails naming both; the same
// document queued twice is converted twice.
TEST(BatchRun, OnlyAWritablePdfIsReplacedAndTwoDocumentsNeverShareOnePdf) {
    Batch f;
    f.Add({"/d/folder.doc", "/d/link.doc", "/d/pipe.doc", "/d/meeting_notes_doc", "/d/locked.doc",
           "/d/empty.doc", "/d/same.doc", "/d/same.DOC", "/d/same.doc"});
    f.files.files = {{"/d/folder.pdf/keep.txt", 3},
                     {"/d/meeting_notes_pdf", 20},
                     {"/d/locked.pdf", 30},
                     {"/d/empty.pdf", 0},
                     {"/d/same.pdf", 40}};
    f.files.others = {{"/d/link.pdf", PathKind::Link}, {"/d/pipe.pdf", PathKind::Pipe}};
    f.files.starts = {{"/d/meeting_notes_pdf", "Agenda: budget"}, {"/d/empty.pdf", ""}};
    f.files.readOnly = {"/d/locked.pdf"};
    f.Run();
    const Text moveIt =
        ", not a PDF file, so the PDF is not written there. Rename or move it, "
        "then convert again.";
    EXPECT_EQ(f.messages.Texts(),
              (Texts{"/d/folder.doc\n\nError 80: /d/folder.pdf is a folder" + moveIt,
                     "/d/link.doc\n\nError 80: /d/link.pdf is a link" + moveIt,
                     "/d/pipe.doc\n\nError 80: /d/pipe.pdf is a named pipe" + moveIt,
                     "/d/meeting_notes_doc\n\nError 80: /d/meeting_notes_pdf is not a PDF file, "
                     "so it is not replaced by this document's PDF. Rename or move it, then "
                     "convert again.",
                     "/d/locked.doc\n\nError 5: The PDF /d/locked.pdf is read-only, so it is not "
                     "replaced. Make it writable, then convert again.",
                     "/d/same.DOC\n\nError 183: This document's PDF would be /d/same.pdf, which is "
                     "the PDF of /d/same.doc in this run, so this document is not converted. "
                     "Rename one of the two to convert both."}));
    EXPECT_EQ(f.list.Statuses(), (Texts{"Queued", "Queued", "Queued", "Queued", "Queued", "Done",
                                        "Done", "Queued", "Done"}));
    EXPECT_EQ(f.word.created, 3) << "no Word for a document whose PDF cannot be written";
    EXPECT_EQ(f.files.files, (Files{{"/d/folder.pdf/keep.txt", 3},
                                    {"/d/meeting_notes_pdf", 20},
                                    {"/d/locked.pdf", 30},
                                    {"/d/empty.pdf", 4096},
                                    {"/d/same.pdf", 4096}}));
    EXPECT_EQ(f.files.starts.at("/d/meeting_notes_pdf"), "Agenda: budget");
    EXPECT_EQ(f.files.readOnly, std::set<Text>{"/d/locked.pdf"});
    EXPECT_TRUE(f.files.hidden.empty());
}

// Items are followed by identity: removed ones are skipped, added ones wait for the next run;
// the engine is told of the documents still to come, up to the number it asks for.
TEST(BatchRun, FollowsTheQueueAsItChangesAndTellsTheEngineWhatComesNext) {
    Batch f;
    f.Add({"/d/a.doc", "/d/b.doc", "/d/c.docx", "/d/d.doc", "/d/e.doc"});
    // While a.doc prints, the user removes it and b.doc and adds late.doc.
    f.pump.onPump = [&] {
        if (f.word.asking != 1 || f.list.ItemCount() != 5) return;
        f.list.RemoveItem(2);
        f.list.RemoveItem(1);
        Queue::Append(f.list, "/d/late.doc");
    };
    f.Run();
    EXPECT_EQ(f.list.Texts(), (Texts{"/d/c.docx", "/d/d.doc", "/d/e.doc", "/d/late.doc"}));
    EXPECT_EQ(f.list.Statuses(), (Texts{"Queued", "Done", "Done", "Queued"}));
    EXPECT_EQ(f.word.created, 4) << "b.doc was removed before its turn";
    EXPECT_EQ(f.files.files, (Files{{"/d/a.pdf", 4096}, {"/d/d.pdf", 4096}, {"/d/e.pdf", 4096}}));
    // A removed item is no failure; the .docx is.
    EXPECT_EQ(f.progress.shown,
              (Texts{"0/5", "1/5", "2/5", "3/5 failed", "4/5 failed", "5/5 failed", "clear"}));
    EXPECT_EQ(f.lookAhead.expected, (std::vector<Texts>{{"/d/a.doc", "/d/b.doc"},
                                                        {"/d/d.doc", "/d/e.doc"},
                                                        {"/d/d.doc", "/d/e.doc"},
                                                        {"/d/d.doc", "/d/e.doc"},
                                                        {"/d/e.doc"},
                                                        {}}));
    EXPECT_EQ(f.lookAhead.keys["/d/d.doc"].size(), 1u) << "a document keeps its key";
}

// The Convert button runs the batch; a click during a run is ignored, and closing the window
// in the middle puts back the PDF being printed over.
TEST(ConvertButton, RunsTheQueueBusyIgnoresClicksDuringTheRunAndUndoesItOnClosing) {
    fakes::WordFixture w;
    fakes::FakeForm f{&w.word, &w.word, &w.files};
    Queue::Append(f.list, "/d/a.doc");
    Queue::Append(f.list, "/d/b.doc");
    w.files.files["/d/b.pdf"] = 10;
    std::vector<std::pair<Text, int>> seen;  // caption and pointer while printing
    f.pump.onPump = [&] {
        seen.emplace_back(f.window.caption, f.window.pointer);
        f.check2.UserClick();
        if (w.word.asking == 2 && !f.program.ended) f.form->Form_Unload();
    };
    f.check2.UserClick();
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front(),
              (std::pair<Text, int>{"Pendrel [ Processing... ]", MousePointer::Busy}));
    EXPECT_EQ(w.word.created, 2) << "no run inside the run";
    EXPECT_EQ(f.check2.value, 0) << "the ignored clicks still bring the button up";
    EXPECT_EQ(f.program.ended, 1);
    EXPECT_EQ(w.files.files, (Files{{"/d/a.pdf", 4096}, {"/d/b.pdf", 10}}));

    f.pump.onPump = nullptr;
    f.check2.UserClick();  // the run has ended: Convert works again
    EXPECT_EQ(w.word.created, 4);
}

// The printer may take 300 s to write a PDF once its dialog is answered; the batch waits for
// that and a margin, and a minute for the dialog to show up.
TEST(PrintWait, WaitsAsLongAsThePrinterMayTake) {
    EXPECT_EQ(WaitLimits{}.dialog, 60s);
    EXPECT_EQ(WaitLimits{}.output, 330s);
}

// A printer that still holds its PDF open has not finished it, however long the size holds.
TEST(PrintWait, APdfStillOpenForWritingIsNotYetWritten) {
    fakes::WordFixture f;
    const DispatchPtr idle = f.word.CreateObject("Word.Application");  // prints nothing
    f.files.files["/d/a.pdf"] = 4096;
    f.files.beingWritten.insert("/d/a.pdf");
    f.pump.onPump = [&] {
        if (f.pump.calls == 20) f.files.beingWritten.clear();
    };
    PrintWait::ForFinishedFile(*idle, f.files, f.pump, "/d/a.pdf", WaitLimits{1s, 2s, 0ms});
    EXPECT_EQ(f.pump.calls, 20);

    f.files.beingWritten.insert("/d/a.pdf");
    EXPECT_THROW(
        PrintWait::ForFinishedFile(*idle, f.files, f.pump, "/d/a.pdf", WaitLimits{1s, 50ms, 0ms}),
        SystemError);
}

}  // namespace
}  // namespace pendrel
