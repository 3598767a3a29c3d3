#pragma once
// The embedded engine as a PdfRenderer: the same pool of sandboxed helpers, rendering ahead,
// spool and failure reasons as the window's "Word.Application", with each PDF put straight at
// the name the batch gives instead of one typed into a printer's dialog.
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/PdfRenderer.h"
#include "platform/office/OfficeLimits.h"
#include "platform/office/pool/HelperProcess.h"
#include "platform/office/pool/RenderPool.h"
#include "platform/office/pool/SpoolFolder.h"

namespace pendrel::office {

class OfficeRenderer final : public PdfRenderer {
public:
    // helper.profileFolder empty: the window's default; poolSize 0: one helper per core, as
    // memory allows.
    OfficeRenderer(HelperCommand helper, unsigned poolSize, HelperLimits limits = {});
    // Ends the helpers and removes the spool: nothing outlives the renderer.
    ~OfficeRenderer() override;
    OfficeRenderer(const OfficeRenderer&) = delete;
    OfficeRenderer& operator=(const OfficeRenderer&) = delete;

    std::size_t Depth() const override;
    void Expect(const std::vector<Document>& next) override;
    void WarmUp() override;
    std::optional<std::uint32_t> Render(const Text& documentPath, const Text& pdfPath,
                                        std::stop_token stop) override;

    unsigned PoolSize() const;
    // The most memory each helper started so far was seen to hold.
    std::vector<std::uint64_t> HelperPeaks() const;

private:
    // The load's outcome (see RenderPool::LoadOutcome); nothing when stopped first.
    std::optional<std::optional<Reply>> WaitForLoad(const RenderJob& job, std::stop_token stop);
    void Changed();

    SpoolFolder spool_;
    RenderPool pool_;
    std::mutex changeMutex_;
    std::condition_variable_any changed_;
    std::uint64_t changes_ = 0;
};

}  // namespace pendrel::office
