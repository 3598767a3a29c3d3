#pragma once
// The embedded document engine: "Word.Application" objects that render with LibreOffice in a
// pool of helper processes (pendrel-office) and print to the virtual printer "PDF Writer",
// whose "Save As" dialog lives on the desk. Told which documents a run opens next, it renders
// them ahead of the batch.
#include <memory>
#include <vector>

#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/desk/Desk.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/HelperProcess.h"

namespace pendrel::office {

struct EngineCore;

class OfficeEngine : public AutomationFactory, public LookAhead {
public:
    // helper.executable is the pendrel-office program (beside the window's executable);
    // poolSize 0 takes one helper per core, as memory allows. helper.isolation.onUnisolated
    // is called once at most.
    OfficeEngine(desk::Desk& desk, EventPump& pump, HelperCommand helper, unsigned poolSize = 0,
                 HelperLimits limits = {});
    // Shuts down: no helper outlives the engine.
    ~OfficeEngine() override;
    OfficeEngine(const OfficeEngine&) = delete;
    OfficeEngine& operator=(const OfficeEngine&) = delete;

    // "Word.Application" only; a new application object each time.
    DispatchPtr CreateObject(const Text& progId) override;

    std::size_t Depth() const override;
    void Expect(const std::vector<Document>& next) override;

    // Starts the helpers in the background so the first document does not wait for
    // LibreOffice to start.
    void WarmUp();
    // Ends the helpers and removes spool and temporary files; objects handed out fail from
    // then on. Safe to call more than once.
    void Shutdown();

    unsigned PoolSize() const;
    // The number of helper processes started so far.
    int HelpersStarted() const;
    // The helper processes alive now.
    std::vector<int> HelperPids() const;
    // The most memory each helper started so far was seen to hold.
    std::vector<std::uint64_t> HelperPeaks() const;
    // The time the helpers have spent loading and rendering, summed.
    std::chrono::microseconds HelperWorkTime() const;

private:
    std::shared_ptr<EngineCore> core_;
};

// The engine's LibreOffice profile when none is given: under the user's cache folder, kept
// between runs because a fresh one costs seconds at start-up.
std::string DefaultProfileFolder();

}  // namespace pendrel::office
