#pragma once
// The embedded document engine: "Word.Application" objects that render with LibreOffice in a
// helper process (pendrel-office) and print to the virtual printer "PDF Writer", whose "Save
// As" dialog lives on the desk.
#include <memory>

#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "platform/office/HelperProcess.h"

namespace pendrel::office {

struct EngineCore;

class OfficeEngine : public AutomationFactory {
public:
    // helper.executable is the pendrel-office program (beside the window's executable).
    OfficeEngine(desk::Desk& desk, EventPump& pump, HelperCommand helper);
    // Shuts down: no helper outlives the engine.
    ~OfficeEngine() override;
    OfficeEngine(const OfficeEngine&) = delete;
    OfficeEngine& operator=(const OfficeEngine&) = delete;

    // "Word.Application" only; a new application object each time, on the running helper.
    DispatchPtr CreateObject(const Text& progId) override;

    // Starts the helper in the background so the first document does not wait for
    // LibreOffice to start.
    void WarmUp();
    // Kills the helper and removes spool and temporary files; objects handed out fail from
    // then on. Safe to call more than once.
    void Shutdown();

    // The number of helper processes started so far.
    int HelpersStarted() const;
    // The time the helpers have spent loading and rendering, summed: the floor of a batch.
    std::chrono::microseconds HelperWorkTime() const;

private:
    std::shared_ptr<EngineCore> core_;
};

}  // namespace pendrel::office
