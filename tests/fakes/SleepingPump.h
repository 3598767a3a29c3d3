#pragma once
// The window's wait as the engine sees it: asleep until woken or the slice ends, never
// spinning. onPump stands for the window's handlers running meanwhile.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

#include "platform/Desktop.h"

namespace pendrel::fakes {

class SleepingPump : public EventPump {
public:
    std::function<void()> onPump;
    int calls = 0;

    void ProcessPendingMessages(std::chrono::milliseconds maxWait) override {
        ++calls;
        if (onPump) onPump();
        std::unique_lock lock(mutex_);
        woken_.wait_for(lock, maxWait, [this] { return std::exchange(wake_, false); });
    }
    void Wake() override {
        std::lock_guard lock(mutex_);
        wake_ = true;
        woken_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable woken_;
    bool wake_ = false;
};

}  // namespace pendrel::fakes
