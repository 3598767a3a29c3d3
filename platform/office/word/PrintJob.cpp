#include "platform/office/word/PrintJob.h"

#include "platform/WordContract.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/SpoolFolder.h"
#include "platform/office/word/OfficeErrors.h"

namespace pendrel::office {

PrintJob::PrintJob(desk::Desk& desk, PrintJobSetup setup) : desk_(desk), setup_(std::move(setup)) {
    thread_ = std::jthread([this](std::stop_token stop) { Run(stop); });
}

PrintJob::~PrintJob() {
    thread_.request_stop();
    if (thread_.joinable()) thread_.join();
}

Text PrintJob::SuggestedName(const Text& documentPath) {
    auto slash = documentPath.find_last_of("/\\");
    Text name = slash == Text::npos ? documentPath : documentPath.substr(slash + 1);
    auto dot = name.rfind('.');
    if (dot != Text::npos && dot > 0) name.erase(dot);
    return name + ".pdf";
}

void PrintJob::Run(std::stop_token stop) {
    auto target =
        desk::RunSaveAsDialog(desk_, WordContract::SaveAsDialogTitle,
                              SuggestedName(setup_.documentPath), SaveAsDialogLimit, stop);
    if (!target || stop.stop_requested())
        return Finish(State::Failed,
                      AutomationError(ErrorNumber::PrintFailed,
                                      stop.stop_requested()
                                          ? "The print job was abandoned before it finished."
                                          : "The print job was cancelled: no file name was "
                                            "given in the \"Save As\" dialog."));
    const RenderPool::RenderResult render = setup_.pool.WaitRendered(setup_.render, stop);
    if (render.failure)
        return Finish(State::Failed, RenderFailure(*render.failure, setup_.temporaryFolder));
    if (!render.rendered)
        return Finish(State::Failed, AutomationError(ErrorNumber::PrintFailed,
                                                     "The print job was abandoned before it "
                                                     "finished."));
    std::string error;
    if (!MoveIntoPlace(render.pdf, *target, error))
        return Finish(State::Failed, PdfNotWritten(*target, error));
    Finish(State::Done);
}

void PrintJob::Finish(State state, std::optional<AutomationError> failure) {
    {
        std::lock_guard lock(mutex_);
        state_ = state;
        failure_ = std::move(failure);
    }
    if (setup_.onFinished) setup_.onFinished();
}

PrintJob::State PrintJob::Status() const {
    std::lock_guard lock(mutex_);
    return state_;
}

std::optional<AutomationError> PrintJob::Failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

void PrintJob::Abandon() {
    thread_.request_stop();
}

bool PrintJob::Finished() const {
    return Status() != State::InProgress;
}

}  // namespace pendrel::office
