#include "platform/office/word/OfficeEngine.h"

#include <cstdlib>
#include <memory>

#include "platform/office/word/EngineCore.h"
#include "platform/office/word/OfficeErrors.h"
#include "platform/office/word/WordApplication.h"
#include "platform/text/SameText.h"

namespace pendrel::office {

std::string DefaultProfileFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') return std::string(cache) + "/pendrel/office-profile";
    const char* home = std::getenv("HOME");
    const std::string base = home != nullptr && home[0] == '/' ? home : "/tmp";
    return base + "/.cache/pendrel/office-profile";
}

OfficeEngine::OfficeEngine(desk::Desk& desk, EventPump& pump, HelperCommand helper,
                           unsigned poolSize, HelperLimits limits) {
    if (helper.profileFolder.empty()) helper.profileFolder = DefaultProfileFolder();
    helper.isolation = WarningOnce(std::move(helper.isolation));
    core_ = std::make_shared<EngineCore>(desk, pump, std::move(helper),
                                         poolSize != 0 ? poolSize : DefaultPoolSize(), limits);
}

OfficeEngine::~OfficeEngine() {
    Shutdown();
}

DispatchPtr OfficeEngine::CreateObject(const Text& progId) {
    if (!SameTextIgnoringCase(progId, "Word.Application") || core_->shutDown)
        throw AutomationError(ErrorNumber::CannotCreateObject,
                              "ActiveX component can't create object (" + progId + ")");
    return std::make_shared<WordApplication>(core_);
}

std::size_t OfficeEngine::Depth() const {
    return core_->pool.Depth();
}

void OfficeEngine::Expect(const std::vector<Document>& next) {
    if (!core_->shutDown) core_->pool.Expect(next);
}

void OfficeEngine::WarmUp() {
    if (!core_->shutDown) core_->pool.WarmUp();
}

void OfficeEngine::Shutdown() {
    if (!core_->shutDown) core_->Shutdown();
}

unsigned OfficeEngine::PoolSize() const {
    return core_->pool.PoolSize();
}

int OfficeEngine::HelpersStarted() const {
    return core_->pool.HelpersStarted();
}

std::vector<int> OfficeEngine::HelperPids() const {
    const auto pids = core_->pool.HelperPids();
    return {pids.begin(), pids.end()};
}

std::vector<std::uint64_t> OfficeEngine::HelperPeaks() const {
    return core_->pool.HelperPeaks();
}

std::chrono::microseconds OfficeEngine::HelperWorkTime() const {
    return core_->pool.WorkTime();
}

}  // namespace pendrel::office
