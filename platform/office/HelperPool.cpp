#include "platform/office/HelperPool.h"

#include <algorithm>
#include <utility>

#include "platform/office/OfficeLimits.h"

namespace pendrel::office {

HelperPool::HelperPool(HelperCommand command, std::function<void()> onActivity)
    : command_(std::move(command)), onActivity_(std::move(onActivity)) {}

HelperPool::~HelperPool() {
    Shutdown();
}

std::shared_ptr<HelperProcess> HelperPool::StartLocked() {
    if (current_) endedWork_ += current_->WorkTime();
    current_ = std::make_shared<HelperProcess>(command_, onActivity_);
    documentsInCurrent_ = 0;
    ++started_;
    std::erase_if(all_, [](const auto& weak) { return weak.expired(); });
    all_.push_back(current_);
    return current_;
}

void HelperPool::WarmUp() {
    Current();
}

std::shared_ptr<HelperProcess> HelperPool::Current() {
    std::lock_guard lock(mutex_);
    if (shutDown_) return nullptr;
    if (current_ && !current_->IsGone()) return current_;
    return StartLocked();
}

void HelperPool::DocumentClosed(const std::shared_ptr<HelperProcess>& helper) {
    std::lock_guard lock(mutex_);
    if (shutDown_ || helper != current_) return;
    ++documentsInCurrent_;
    if (documentsInCurrent_ >= HelperDocumentLimit ||
        current_->ResidentBytes() >= HelperMemoryCeiling)
        StartLocked();  // the old one ends when its last holder lets go
}

void HelperPool::Shutdown() {
    std::vector<std::shared_ptr<HelperProcess>> alive;
    {
        std::lock_guard lock(mutex_);
        shutDown_ = true;
        for (auto& weak : all_)
            if (auto helper = weak.lock()) alive.push_back(helper);
        all_.clear();
        current_.reset();
    }
    for (auto& helper : alive) helper->Kill("the document engine was shut down");
}

std::chrono::microseconds HelperPool::WorkTime() const {
    std::lock_guard lock(mutex_);
    return endedWork_ + (current_ ? current_->WorkTime() : std::chrono::microseconds(0));
}

int HelperPool::Started() const {
    std::lock_guard lock(mutex_);
    return started_;
}

}  // namespace pendrel::office
