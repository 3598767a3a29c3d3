#include "platform/office/render/OfficeRenderer.h"

#include "platform/office/word/OfficeEngine.h"
#include "platform/office/word/OfficeErrors.h"

namespace pendrel::office {
namespace {

HelperCommand WithProfile(HelperCommand helper) {
    if (helper.profileFolder.empty()) helper.profileFolder = DefaultProfileFolder();
    helper.isolation = WarningOnce(std::move(helper.isolation));
    return helper;
}

}  // namespace

OfficeRenderer::OfficeRenderer(HelperCommand helper, unsigned poolSize, HelperLimits limits)
    : pool_(WithProfile(std::move(helper)), spool_, poolSize != 0 ? poolSize : DefaultPoolSize(),
            limits, [this] { Changed(); }) {}

OfficeRenderer::~OfficeRenderer() {
    pool_.Shutdown();
    spool_.RemoveAll();
}

std::size_t OfficeRenderer::Depth() const {
    return pool_.Depth();
}

void OfficeRenderer::Expect(const std::vector<Document>& next) {
    pool_.Expect(next);
}

void OfficeRenderer::WarmUp() {
    pool_.WarmUp();
}

unsigned OfficeRenderer::PoolSize() const {
    return pool_.PoolSize();
}

std::vector<std::uint64_t> OfficeRenderer::HelperPeaks() const {
    return pool_.HelperPeaks();
}

void OfficeRenderer::Changed() {
    {
        std::lock_guard lock(changeMutex_);
        ++changes_;
    }
    changed_.notify_all();
}

std::optional<std::optional<Reply>> OfficeRenderer::WaitForLoad(const RenderJob& job,
                                                                std::stop_token stop) {
    std::unique_lock lock(changeMutex_);
    for (;;) {
        const std::uint64_t seen = changes_;
        lock.unlock();
        if (auto outcome = pool_.LoadOutcome(job)) return outcome;
        lock.lock();
        // Every change of a job is announced; the slice is only a guard against a missed one.
        changed_.wait_for(lock, stop, WaitSlice, [&] { return changes_ != seen; });
        if (stop.stop_requested()) return std::nullopt;
    }
}

std::optional<std::uint32_t> OfficeRenderer::Render(const Text& documentPath, const Text& pdfPath,
                                                    std::stop_token stop) {
    const std::shared_ptr<RenderJob> job = pool_.Take(documentPath);
    struct Released {
        RenderPool& pool;
        const std::shared_ptr<RenderJob>& job;
        ~Released() { pool.Release(job); }
    } released{pool_, job};

    const auto load = WaitForLoad(*job, stop);
    if (!load) return std::nullopt;
    // Stopped or not, a helper that died of the signal that stops the batch is no failure of
    // the document.
    if (*load && !stop.stop_requested()) ThrowOpenFailure(**load, spool_.Parent());
    if (*load) return std::nullopt;
    const RenderPool::RenderResult render = pool_.WaitRendered(job, stop);
    if (stop.stop_requested() || (!render.rendered && !render.failure)) return std::nullopt;
    if (render.failure) throw RenderFailure(*render.failure, spool_.Parent());
    std::string error;
    if (!MoveIntoPlace(render.pdf, pdfPath, error)) throw PdfNotWritten(pdfPath, error);
    return render.pages;
}

}  // namespace pendrel::office
