#include "platform/qt/PendingEngine.h"

namespace pendrel::qt {

DispatchPtr PendingAutomation::CreateObject(const Text&) {
    throw AutomationError(429, "No document engine is available.");
}

WindowHandle PendingWindowMessages::FindWindow(const Text&, const Text&) {
    return 0;
}

WindowHandle PendingWindowMessages::FindWindowEx(WindowHandle, WindowHandle, const Text&,
                                                 const std::optional<Text>&) {
    return 0;
}

bool PendingWindowMessages::PostMessage(WindowHandle, std::uint32_t, std::uintptr_t,
                                        std::intptr_t) {
    return false;
}

}  // namespace pendrel::qt
