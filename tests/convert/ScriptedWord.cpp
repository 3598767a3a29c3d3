#include "tests/convert/ScriptedWord.h"

#include <mutex>
#include <optional>
#include <thread>

namespace pendrel::fakes {

class ScriptedWord : public Dispatch {
public:
    ScriptedWord(ScriptedWordFactory& factory, int number)
        : factory_(factory), number_(number), printer_(factory.initialPrinter) {}
    ~ScriptedWord() override { EndDialog(); }

    Variant Get(const Text& name) override {
        if (name == "BackgroundPrintingStatus") return PrintingStatus();
        Record("Get " + name, {});
        if (name == "ActivePrinter") return Variant::String(printer_);
        if (name == "Documents") return Variant::Object(std::make_shared<Documents>(*this));
        throw AutomationError(438, "Object doesn't support this property or method");
    }
    void Put(const Text& name, const Variant& value) override {
        Record("Put " + name, {value});
        if (name != "ActivePrinter") throw AutomationError(438, "Read-only: " + name);
        printer_ = value.AsString();
    }
    Variant Call(const Text& name, const std::vector<Variant>& args) override {
        Record(name, args);
        if (name == "PrintOut") return PrintOut();
        if (name == "Quit") return Quit();
        throw AutomationError(438, "Object doesn't support this property or method");
    }

private:
    class Documents : public Dispatch {
    public:
        explicit Documents(ScriptedWord& word) : word_(word) {}
        Variant Get(const Text&) override { return {}; }
        void Put(const Text&, const Variant&) override {}
        Variant Call(const Text& name, const std::vector<Variant>& args) override {
            word_.Record("Documents." + name, args);
            const Text path = args.empty() ? Text() : args[0].AsString();
            word_.script_ = word_.factory_.scripts[path];
            if (word_.script_.failOpen) throw AutomationError(5174, "File not found: " + path);
            return {};
        }

    private:
        ScriptedWord& word_;
    };

    void Record(const Text& name, std::vector<Variant> args) {
        factory_.calls.push_back({number_, name, std::move(args)});
    }

    Variant PrintOut() {
        if (script_.failPrintOut) throw AutomationError(4605, "The printer is not available.");
        if (script_.showsNoDialog) return {};
        dialog_ = std::jthread([this, &desk = factory_.desk_](std::stop_token stop) {
            auto result = desk::RunSaveAsDialog(desk, "Save As", "Document1.pdf",
                                                std::chrono::seconds(5), stop);
            {
                std::lock_guard lock(mutex_);
                result_ = std::move(result);
                answered_ = true;
            }
            if (factory_.pump) factory_.pump->Wake();
        });
        return {};
    }

    Variant PrintingStatus() {
        std::lock_guard lock(mutex_);
        if (!answered_) return Variant::Int32(1);
        if (!written_) {
            written_ = true;
            factory_.dialogResults.push_back(result_.value_or(""));
            if (result_ && !script_.writesNothing && !script_.jobFails) {
                factory_.fileSystem->files[*result_] = factory_.pdfSize;
            }
        }
        if (script_.jobFails)
            throw AutomationError(-2147467259, "The document could not be rendered.");
        if (!result_) throw AutomationError(-2147467259, "The print job was cancelled.");
        return Variant::Int32(0);
    }

    Variant Quit() {
        EndDialog();
        --factory_.alive;
        if (script_.failQuit) throw AutomationError(-2147023174, "The RPC server is unavailable.");
        return {};
    }

    void EndDialog() {
        if (dialog_.joinable()) {
            dialog_.request_stop();
            dialog_.join();
        }
    }

    ScriptedWordFactory& factory_;
    int number_;
    Text printer_;
    DocumentScript script_;
    std::jthread dialog_;
    std::mutex mutex_;
    bool answered_ = false;
    bool written_ = false;
    std::optional<Text> result_;
};

DispatchPtr ScriptedWordFactory::CreateObject(const Text& progId) {
    if (failCreate || progId != "Word.Application") {
        throw AutomationError(429, "ActiveX component can't create object");
    }
    ++created;
    mostAlive = std::max(mostAlive, ++alive);
    calls.push_back({created, "CreateObject", {Variant::String(progId)}});
    return std::make_shared<ScriptedWord>(*this, created);
}

std::vector<WordCall> ScriptedWordFactory::CallsNamed(const Text& name) const {
    std::vector<WordCall> out;
    for (const auto& call : calls) {
        if (call.name == name) out.push_back(call);
    }
    return out;
}

std::vector<Text> ScriptedWordFactory::CallNames() const {
    std::vector<Text> out;
    for (const auto& call : calls) out.push_back(std::to_string(call.app) + " " + call.name);
    return out;
}

}  // namespace pendrel::fakes
