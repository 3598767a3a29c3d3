#pragma once
// "Word.Application" on the embedded engine: the members the batch uses (Documents.Open,
// ActivePrinter, PrintOut, BackgroundPrintingStatus, Quit), each checking what it is given.
#include <memory>
#include <optional>

#include "platform/Automation.h"
#include "platform/office/word/EngineCore.h"

namespace pendrel::office {

inline constexpr const char* DefaultPrinterName = "Default Printer";

class WordApplication : public Dispatch, public std::enable_shared_from_this<WordApplication> {
public:
    explicit WordApplication(std::shared_ptr<EngineCore> core);
    ~WordApplication() override;

    Variant Get(const Text& name) override;
    void Put(const Text& name, const Variant& value) override;
    Variant Call(const Text& name, const std::vector<Variant>& args) override;

    // Documents.Open: the helper loads the document; its failure is thrown.
    void Open(const std::vector<Variant>& args);

private:
    struct OpenDocument {
        std::shared_ptr<RenderJob> render;
        Text path;
    };

    void CheckAlive() const;
    Variant PrintOut(const std::vector<Variant>& args);
    Variant BackgroundPrintingStatus();
    void Quit(const std::vector<Variant>& args);
    void CloseDocument();
    // The document's load outcome, waited for with the window's messages handled.
    std::optional<Reply> WaitForLoad(const RenderJob& render);

    std::shared_ptr<EngineCore> core_;
    Text printer_ = DefaultPrinterName;
    std::optional<OpenDocument> document_;
    std::shared_ptr<PrintJob> job_;
    bool ended_ = false;
};

// The application's Documents collection.
class WordDocuments : public Dispatch {
public:
    explicit WordDocuments(std::shared_ptr<WordApplication> app) : app_(std::move(app)) {}
    Variant Get(const Text& name) override;
    void Put(const Text& name, const Variant& value) override;
    Variant Call(const Text& name, const std::vector<Variant>& args) override;

private:
    std::shared_ptr<WordApplication> app_;
};

}  // namespace pendrel::office
