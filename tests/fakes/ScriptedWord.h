#pragma once
// A scripted "Word.Application" for the conversion tests, which records every call, and its PDF
// printer's "Save As" dialog: window 1, its edit box 2 and its Save button 3 while a PrintOut
// waits for a file name. The PDF appears in the fake files when the caller next reads
// BackgroundPrintingStatus after a click on Save.
#include <map>
#include <memory>
#include <set>

#include "platform/Automation.h"
#include "platform/WindowMessages.h"
#include "platform/text/Utf16.h"
#include "tests/fakes/FakeDesktop.h"
#include "tests/fakes/SleepingPump.h"

namespace pendrel::fakes {

// How Word behaves for a document opened in it.
struct DocumentScript {
    bool failOpen = false, failPrintOut = false, failQuit = false;
    bool showsNoDialog = false;  // the printer never asks for a file name
    bool writesNothing = false;  // the dialog is answered but no file ever appears
    bool jobFails = false;       // the print job fails once the dialog is answered
};

struct WordCall {
    int app;  // 1 for the first application created
    Text name;
    std::vector<Variant> args;
};

struct ScriptedWordFactory : AutomationFactory, WindowMessages {
    explicit ScriptedWordFactory(FakeFiles& files) : files(files) {}
    FakeFiles& files;                        // where the PDFs are written
    std::map<Text, DocumentScript> scripts;  // by document path
    std::vector<WordCall> calls;
    int created = 0, alive = 0, mostAlive = 0;
    int asking = 0;             // the Word whose printer's dialog is up
    std::u16string typed;       // into its edit box, unit by unit, until Save is released
    std::map<int, Text> saved;  // the name each Word's dialog was answered with

    DispatchPtr CreateObject(const Text& progId) override;

    WindowHandle FindWindow(const Text& className, const Text& title) override {
        return asking && className == "#32770" && title == "Save As" ? 1 : 0;
    }
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle, const Text& className,
                              const std::optional<Text>&) override {
        return parent == 1 ? (className == "Edit" ? 2 : 3) : 0;
    }
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t) override {
        if (asking == 0) return false;
        if (window == 2 && message == WmChar) typed += static_cast<char16_t>(wParam);
        if (window == 3 && message == WmLButtonUp)
            saved[std::exchange(asking, 0)] = Utf16::ToUtf8(std::exchange(typed, {}));
        return true;
    }
};

struct ScriptedWord : Dispatch, std::enable_shared_from_this<ScriptedWord> {
    ScriptedWord(ScriptedWordFactory& word, int number) : word_(word), number_(number) {}

    Variant Get(const Text& name) override {
        if (name == "BackgroundPrintingStatus") return PrintingStatus();
        word_.calls.push_back({number_, "Get " + name, {}});
        if (name == "ActivePrinter") return Variant::String(printer_);
        return Variant::Object(shared_from_this());  // its own Documents: Call("Open") opens
    }
    void Put(const Text& name, const Variant& value) override {
        word_.calls.push_back({number_, "Put " + name, {value}});
        printer_ = value.AsString();
    }
    Variant Call(const Text& name, const std::vector<Variant>& args) override {
        word_.calls.push_back({number_, name, args});
        if (name == "Open") {
            script_ = word_.scripts[args.at(0).AsString()];
            if (script_.failOpen)
                throw AutomationError(5174, "File not found: " + args[0].AsString());
        } else if (name == "PrintOut") {
            if (script_.failPrintOut) throw AutomationError(4605, "The printer is not available.");
            if (!script_.showsNoDialog) word_.asking = number_;
        } else if (name == "Quit") {
            if (word_.asking == number_) word_.asking = 0;  // the dialog ends with its Word
            --word_.alive;
            if (script_.failQuit)
                throw AutomationError(-2147023174, "The RPC server is unavailable.");
        }
        return {};
    }
    Variant PrintingStatus() {
        const auto saved = word_.saved.find(number_);
        if (saved == word_.saved.end()) return Variant::Int32(1);  // still printing
        if (script_.jobFails)
            throw AutomationError(-2147467259, "The document could not be rendered.");
        if (!script_.writesNothing) word_.files.files.try_emplace(saved->second, 4096);
        return Variant::Int32(0);
    }

    ScriptedWordFactory& word_;
    int number_;
    Text printer_ = "HP LaserJet";
    DocumentScript script_;
};

inline DispatchPtr ScriptedWordFactory::CreateObject(const Text& progId) {
    if (progId != "Word.Application") throw AutomationError(429, "Can't create " + progId);
    mostAlive = std::max(mostAlive, ++alive);
    calls.push_back({++created, "CreateObject", {}});
    return std::make_shared<ScriptedWord>(*this, created);
}

// An engine that works ahead of the run, recording what it is told to expect.
struct RecordingLookAhead : LookAhead {
    std::vector<std::vector<Text>> expected;       // the paths of each Expect
    std::map<Text, std::set<std::uint64_t>> keys;  // the keys each path came with

    std::size_t Depth() const override { return 2; }
    void Expect(const std::vector<Document>& next) override {
        expected.emplace_back();
        for (const Document& document : next) {
            expected.back().push_back(document.path);
            keys[document.path].insert(document.key);
        }
    }
};

// A scripted Word and its printer's dialog, the fake files and a sleeping pump.
struct WordFixture {
    FakeFiles files;
    SleepingPump pump;
    ScriptedWordFactory word{files};
};

}  // namespace pendrel::fakes
