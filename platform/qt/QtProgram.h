#pragma once
// The running program: its folder and its end.
#include <functional>
#include <vector>

#include "platform/Desktop.h"

namespace pendrel::qt {

class QtProgram : public Program {
public:
    Text Folder() const override;
    // Runs the shutdown hooks, flushes the standard streams and ends the process at once,
    // even from inside a nested event loop.
    [[noreturn]] void End() override;

    // Work that must happen before the process goes, e.g. stopping the document engine.
    void AddShutdownHook(std::function<void()> hook) { hooks_.push_back(std::move(hook)); }

private:
    std::vector<std::function<void()>> hooks_;
};

}  // namespace pendrel::qt
