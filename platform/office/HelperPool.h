#pragma once
// The helper that takes the next document: started on first need (or WarmUp), replaced when
// it has died, and retired after many documents or too much memory. A retired helper lives on
// while a document or print job still holds it and is killed when the last one lets go.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/office/HelperProcess.h"

namespace pendrel::office {

class HelperPool {
public:
    HelperPool(HelperCommand command, std::function<void()> onActivity);
    ~HelperPool();
    HelperPool(const HelperPool&) = delete;
    HelperPool& operator=(const HelperPool&) = delete;

    // Starts a helper in the background unless one is running.
    void WarmUp();
    // The helper for the next document; a fresh one when the last has gone; nothing after
    // Shutdown.
    std::shared_ptr<HelperProcess> Current();
    // A document that helper held has been closed.
    void DocumentClosed(const std::shared_ptr<HelperProcess>& helper);
    // Kills every helper still alive, retired ones included; no new one starts afterwards.
    void Shutdown();

    // The number of helpers started so far.
    int Started() const;
    // The time every helper of this pool has spent working on requests.
    std::chrono::microseconds WorkTime() const;

private:
    std::shared_ptr<HelperProcess> StartLocked();

    HelperCommand command_;
    std::function<void()> onActivity_;
    mutable std::mutex mutex_;
    std::shared_ptr<HelperProcess> current_;
    int documentsInCurrent_ = 0;
    std::vector<std::weak_ptr<HelperProcess>> all_;
    int started_ = 0;
    std::chrono::microseconds endedWork_{0};  // of helpers no longer current
    bool shutDown_ = false;
};

}  // namespace pendrel::office
