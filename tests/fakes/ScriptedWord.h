#pragma once
// A scripted "Word.Application" for the conversion tests. It records every call; its PrintOut
// runs the printer's dialog on a thread of its own through the real desk, and the PDF appears
// in the fake file system when the caller next reads BackgroundPrintingStatus after a Save.
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>

#include "platform/Automation.h"
#include "platform/desk/Desk.h"
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

struct ScriptedWordFactory : AutomationFactory {
    ScriptedWordFactory(desk::Desk& desk, FakeFileSystem& files) : desk(desk), files(files) {}
    desk::Desk& desk;
    FakeFileSystem& files;                   // where the PDFs are written
    std::map<Text, DocumentScript> scripts;  // by document path
    Text initialPrinter = "HP LaserJet 4 on Ne01:";
    std::vector<WordCall> calls;
    int created = 0, alive = 0, mostAlive = 0;

    DispatchPtr CreateObject(const Text& progId) override;
    std::vector<Text> CallNames() const {  // "<app> <call>", e.g. "1 Open"
        std::vector<Text> out;
        for (const auto& call : calls) out.push_back(std::to_string(call.app) + " " + call.name);
        return out;
    }
};

struct ScriptedWord : Dispatch, std::enable_shared_from_this<ScriptedWord> {
    ScriptedWord(ScriptedWordFactory& word, int number)
        : word_(word), number_(number), printer_(word.initialPrinter) {}

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
            if (!script_.showsNoDialog)
                dialog_ = std::jthread([this](std::stop_token stop) {
                    auto result = desk::RunSaveAsDialog(word_.desk, "Save As", "Document1.pdf",
                                                        std::chrono::seconds(5), stop);
                    std::lock_guard lock(mutex_);
                    result_ = std::move(result);
                    answered_ = true;
                });
        } else if (name == "Quit") {
            dialog_ = {};  // the dialog ends with its Word
            --word_.alive;
            if (script_.failQuit)
                throw AutomationError(-2147023174, "The RPC server is unavailable.");
        }
        return {};
    }

    Variant PrintingStatus() {
        std::lock_guard lock(mutex_);
        if (!answered_) return Variant::Int32(1);  // still printing
        if (script_.jobFails)
            throw AutomationError(-2147467259, "The document could not be rendered.");
        if (!result_) throw AutomationError(-2147467259, "The print job was cancelled.");
        if (!script_.writesNothing) word_.files.files.try_emplace(*result_, 4096);
        return Variant::Int32(0);
    }

    ScriptedWordFactory& word_;
    int number_;
    Text printer_;
    DocumentScript script_;
    std::mutex mutex_;
    bool answered_ = false;
    std::optional<Text> result_;
    std::jthread dialog_;  // last: joined before the state it writes goes
};

inline DispatchPtr ScriptedWordFactory::CreateObject(const Text& progId) {
    if (progId != "Word.Application") throw AutomationError(429, "Can't create " + progId);
    mostAlive = std::max(mostAlive, ++alive);
    calls.push_back({++created, "CreateObject", {}});
    return std::make_shared<ScriptedWord>(*this, created);
}

// An engine that works ahead of the run, recording what it is told to expect.
struct RecordingLookAhead : LookAhead {
    std::size_t depth = 2;
    std::vector<std::vector<Text>> expected;       // the paths of each Expect
    std::map<Text, std::set<std::uint64_t>> keys;  // the keys each path came with

    std::size_t Depth() const override { return depth; }
    void Expect(const std::vector<Document>& next) override {
        expected.emplace_back();
        for (const Document& document : next) {
            expected.back().push_back(document.path);
            keys[document.path].insert(document.key);
        }
    }
};

// The real desk, a fake file system and a sleeping pump around a scripted Word.
struct WordDesk {
    desk::Desk desk;
    FakeFileSystem files;
    SleepingPump pump;
    ScriptedWordFactory word{desk, files};
};

}  // namespace pendrel::fakes
