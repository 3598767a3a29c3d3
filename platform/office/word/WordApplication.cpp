#include "platform/office/word/WordApplication.h"

#include "platform/WordContract.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/RenderPool.h"
#include "platform/office/word/ArgumentChecks.h"
#include "platform/office/word/OfficeErrors.h"
#include "platform/text/SameText.h"

namespace pendrel::office {
WordApplication::WordApplication(std::shared_ptr<EngineCore> core) : core_(std::move(core)) {}

WordApplication::~WordApplication() {
    // An application dropped without Quit still gives its document back to the helper.
    if (!core_->shutDown && document_) CloseDocument();
    if (job_) job_->Abandon();
}

void WordApplication::CheckAlive() const {
    if (ended_ || core_->shutDown)
        throw AutomationError(ErrorNumber::ApplicationEnded,
                              "The Word application has ended (The RPC server is unavailable).");
}

Variant WordApplication::Get(const Text& name) {
    CheckAlive();
    if (SameTextIgnoringCase(name, "Documents"))
        return Variant::Object(std::make_shared<WordDocuments>(shared_from_this()));
    if (SameTextIgnoringCase(name, "ActivePrinter")) return Variant::String(printer_);
    if (SameTextIgnoringCase(name, "BackgroundPrintingStatus")) return BackgroundPrintingStatus();
    throw NotSupported(name);
}

void WordApplication::Put(const Text& name, const Variant& value) {
    CheckAlive();
    if (!SameTextIgnoringCase(name, "ActivePrinter")) throw NotSupported(name);
    if (value.type() != Variant::Type::String)
        throw AutomationError(ErrorNumber::TypeMismatch, "Type mismatch (ActivePrinter)");
    printer_ = value.AsString();
}

Variant WordApplication::Call(const Text& name, const std::vector<Variant>& args) {
    CheckAlive();
    if (SameTextIgnoringCase(name, "PrintOut")) return PrintOut(args);
    if (SameTextIgnoringCase(name, "Quit")) {
        Quit(args);
        return {};
    }
    throw NotSupported(name);
}

std::optional<Reply> WordApplication::WaitForLoad(const RenderJob& render) {
    // The pool has its own limits on every step; this only lets the window live meanwhile.
    for (;;) {
        if (const auto outcome = core_->pool.LoadOutcome(render)) return *outcome;
        core_->pump.ProcessPendingMessages(WaitSlice);
    }
}

void WordApplication::Open(const std::vector<Variant>& args) {
    CheckAlive();
    CheckOpenArguments(args);
    const Text& path = args[0].AsString();
    const std::shared_ptr<RenderJob> render = core_->pool.Take(path);
    const std::optional<Reply> failure = WaitForLoad(*render);
    if (failure) core_->pool.Release(render);
    CheckAlive();  // the window may have closed the engine while we waited
    if (failure) ThrowOpenFailure(*failure, core_->spool.Parent());
    // Word prints its active document: the one opened last.
    if (document_) CloseDocument();
    document_ = OpenDocument{render, path};
}

Variant WordApplication::PrintOut(const std::vector<Variant>& args) {
    CheckPrintOutArguments(args);
    if (!document_)
        throw AutomationError(ErrorNumber::NoDocumentOpen,
                              "This command is not available because no document is open.");
    if (printer_ != WordContract::PdfPrinterName)
        throw AutomationError(ErrorNumber::PrinterUnavailable,
                              "The printer \"" + printer_ + "\" is not available; only \"" +
                                  WordContract::PdfPrinterName + "\" can print here.");
    if (job_ && !job_->Finished())
        throw AutomationError(ErrorNumber::PrintFailed,
                              "A print job of this document is still in progress.");
    job_ = std::make_shared<PrintJob>(
        core_->desk, PrintJobSetup{core_->pool, document_->render, document_->path,
                                   core_->spool.Parent(), [&pump = core_->pump] { pump.Wake(); }});
    core_->AddJob(job_);
    return {};
}

Variant WordApplication::BackgroundPrintingStatus() {
    if (!job_) return Variant::Int32(0);
    switch (job_->Status()) {
        case PrintJob::State::InProgress:
            return Variant::Int32(1);
        case PrintJob::State::Done:
            return Variant::Int32(0);
        case PrintJob::State::Failed:
            break;
    }
    throw *job_->Failure();
}

void WordApplication::Quit(const std::vector<Variant>& args) {
    CheckQuitArguments(args);
    if (job_) job_->Abandon();
    if (document_) CloseDocument();
    ended_ = true;
}

void WordApplication::CloseDocument() {
    core_->pool.Release(document_->render);
    document_.reset();
}

Variant WordDocuments::Get(const Text& name) {
    throw NotSupported("Documents." + name);
}

void WordDocuments::Put(const Text& name, const Variant&) {
    throw NotSupported("Documents." + name);
}

Variant WordDocuments::Call(const Text& name, const std::vector<Variant>& args) {
    if (!SameTextIgnoringCase(name, "Open")) throw NotSupported("Documents." + name);
    app_->Open(args);
    // The document object Word returns is not used by anyone; none is made.
    return {};
}

}  // namespace pendrel::office
