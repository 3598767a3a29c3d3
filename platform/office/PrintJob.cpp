#include "platform/office/PrintJob.h"

#include <unistd.h>

#include "platform/office/OfficeErrors.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/SpoolFolder.h"

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
    auto target = desk::RunSaveAsDialog(desk_, "Save As", SuggestedName(setup_.documentPath),
                                        SaveAsDialogLimit, stop);
    // Even a job without a name waits for its render, so the spool file is not deleted while
    // the helper may still be writing it.
    Reply render = setup_.helper->Wait(setup_.renderRequest, RenderLimit, nullptr);
    bool rendered =
        render.status == Reply::Status::Answered && render.answer.outcome == Outcome::Ok;
    if (!target || !rendered || stop.stop_requested()) {
        ::unlink(setup_.spoolFile.c_str());
        if (!rendered) return Finish(State::Failed, RenderFailure(render));
        return Finish(State::Failed,
                      AutomationError(ErrorNumber::PrintFailed,
                                      stop.stop_requested() || target
                                          ? "The print job was abandoned before it finished."
                                          : "The print job was cancelled: no file name was "
                                            "given in the \"Save As\" dialog."));
    }
    std::string error;
    if (!MoveIntoPlace(setup_.spoolFile, *target, error))
        return Finish(State::Failed,
                      AutomationError(
                          ErrorNumber::PrintFailed,
                          "The PDF file \"" + *target + "\" could not be written: " + error + "."));
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
