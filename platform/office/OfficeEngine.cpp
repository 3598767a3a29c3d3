#include "platform/office/OfficeEngine.h"

#include "platform/office/EngineCore.h"
#include "platform/office/OfficeErrors.h"
#include "platform/office/WordApplication.h"
#include "platform/text/SameText.h"

namespace pendrel::office {
OfficeEngine::OfficeEngine(desk::Desk& desk, EventPump& pump, HelperCommand helper)
    : core_(std::make_shared<EngineCore>(desk, pump, std::move(helper))) {}

OfficeEngine::~OfficeEngine() {
    Shutdown();
}

DispatchPtr OfficeEngine::CreateObject(const Text& progId) {
    if (!SameTextIgnoringCase(progId, "Word.Application") || core_->shutDown)
        throw AutomationError(ErrorNumber::CannotCreateObject,
                              "ActiveX component can't create object (" + progId + ")");
    return std::make_shared<WordApplication>(core_);
}

void OfficeEngine::WarmUp() {
    if (!core_->shutDown) core_->pool.WarmUp();
}

void OfficeEngine::Shutdown() {
    if (!core_->shutDown) core_->Shutdown();
}

int OfficeEngine::HelpersStarted() const {
    return core_->pool.Started();
}

std::chrono::microseconds OfficeEngine::HelperWorkTime() const {
    return core_->pool.WorkTime();
}

}  // namespace pendrel::office
