#pragma once
// Stand-ins for the parts the program is still waiting for: the document engine and window
// finding. With them the window runs; a conversion reports that no engine is available.
#include "platform/Automation.h"
#include "platform/WindowMessages.h"

namespace pendrel::qt {

class PendingAutomation : public AutomationFactory {
public:
    DispatchPtr CreateObject(const Text& progId) override;
};

class PendingWindowMessages : public WindowMessages {
public:
    WindowHandle FindWindow(const Text& className, const Text& title) override;
    WindowHandle FindWindowEx(WindowHandle parent, WindowHandle childAfter, const Text& className,
                              const std::optional<Text>& title) override;
    bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                     std::intptr_t lParam) override;
};

}  // namespace pendrel::qt
