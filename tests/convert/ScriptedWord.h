#pragma once
// A scripted "Word.Application": it records every call with its arguments, and its PrintOut
// runs the printer's dialog on a thread of its own through the real desk layer. The PDF is
// written into the fake file system, on the caller's thread, when the caller next reads
// BackgroundPrintingStatus after the dialog's Save.
#include <map>
#include <memory>
#include <vector>

#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "tests/fakes/FakeDesktop.h"

namespace pendrel::fakes {

// How Word behaves for the document opened in it.
struct DocumentScript {
    bool failOpen = false;
    bool failPrintOut = false;
    bool failQuit = false;
    bool showsNoDialog = false;  // the printer never asks for a file name
    bool writesNothing = false;  // the dialog is answered but no file ever appears
    bool jobFails = false;       // the print job fails once the dialog is answered
};

struct WordCall {
    int app;  // 1 for the first application created
    Text name;
    std::vector<Variant> args;
};

class ScriptedWordFactory : public AutomationFactory {
public:
    ScriptedWordFactory(desk::Desk& desk, FakeFileSystem* fileSystem, EventPump* pump)
        : fileSystem(fileSystem), pump(pump), desk_(desk) {}

    FakeFileSystem* fileSystem;  // where the PDFs are written
    EventPump* pump;             // woken when a dialog ends; may be null

    std::map<Text, DocumentScript> scripts;  // by document path
    bool failCreate = false;
    Text initialPrinter = "HP LaserJet 4 on Ne01:";
    std::uint64_t pdfSize = 4096;

    std::vector<WordCall> calls;      // CreateObject, Documents.Open, Get/Put ActivePrinter, ...
    std::vector<Text> dialogResults;  // what each Save returned (empty when cancelled)
    int created = 0;
    int alive = 0;
    int mostAlive = 0;

    DispatchPtr CreateObject(const Text& progId) override;

    std::vector<WordCall> CallsNamed(const Text& name) const;
    std::vector<Text> CallNames() const;

private:
    friend class ScriptedWord;
    desk::Desk& desk_;
};

}  // namespace pendrel::fakes
