#include "batch/HeadlessBatch.h"

#include <optional>

#include "convert/OldPdf.h"

namespace pendrel::batch {
namespace {

using Clock = std::chrono::steady_clock;

Text FolderOf(const Text& path, char separator) {
    const auto slash = path.rfind(separator);
    return slash == Text::npos || slash == 0 ? Text() : path.substr(0, slash);
}

class Batch {
public:
    Batch(const std::vector<PlannedDocument>& plan, bool update, const BatchServices& services)
        : plan_(plan), update_(update), services_(services), upToDate_(plan.size()) {
        counts_.total = plan.size();
    }

    BatchEnd Run(std::stop_token stop) {
        for (std::size_t k = 0; k < plan_.size(); ++k) {
            if (stop.stop_requested()) break;
            const Clock::time_point began = Clock::now();
            DocumentOutcome outcome{plan_[k].path, plan_[k].pdf, DocumentStatus::Failed, {}, 0, 0};
            if (!Convert(k, outcome, stop)) break;
            if (outcome.status == DocumentStatus::Failed) outcome.pdf.clear();  // none written
            outcome.seconds = std::chrono::duration<double>(Clock::now() - began).count();
            End(outcome);
        }
        services_.renderer.Expect({});
        if (stop.stop_requested() || counts_.done < plan_.size()) return BatchEnd::Interrupted;
        return counts_.failed == 0 ? BatchEnd::AllConverted : BatchEnd::SomeFailed;
    }

private:
    bool Wanted(std::size_t k) {
        const PlannedDocument& document = plan_[k];
        if (document.refused) return false;
        if (!update_) return true;
        if (!upToDate_[k]) {
            const auto pdf = services_.folders.ModifiedNanoseconds(document.pdf);
            const auto source = services_.folders.ModifiedNanoseconds(document.path);
            upToDate_[k] = pdf && source && *pdf > *source;
        }
        return !*upToDate_[k];
    }

    // The documents the renderer is told of: the ones still to be rendered, from k on.
    std::vector<LookAhead::Document> Upcoming(std::size_t k) {
        std::vector<LookAhead::Document> next;
        const std::size_t depth = services_.renderer.Depth();
        for (; k < plan_.size() && next.size() < depth; ++k)
            if (Wanted(k)) next.push_back({k + 1, plan_[k].path});
        return next;
    }

    // False when the batch was stopped before the document ended.
    bool Convert(std::size_t k, DocumentOutcome& outcome, std::stop_token stop) {
        const PlannedDocument& document = plan_[k];
        if (document.refused) {
            outcome.reason = document.refused->Said();
            return true;
        }
        if (!Wanted(k)) {
            outcome.status = DocumentStatus::Skipped;
            outcome.reason = UpToDateReason;
            return true;
        }
        if (engineUnavailable_) {
            outcome.reason = engineUnavailable_->Said();
            return true;
        }
        services_.renderer.Expect(Upcoming(k));
        try {
            MakeFolder(document.pdf);
            OldPdf old(services_.fileSystem, document.pdf);
            const auto pages = services_.renderer.Render(document.path, document.pdf, stop);
            if (!pages) return false;  // the old PDF comes back as `old` goes
            old.Discard();
            outcome.status = DocumentStatus::Converted;
            outcome.pages = *pages;
        } catch (const AutomationServerUnavailable& e) {
            engineUnavailable_ = Failure{e.Number(), e.Description()};
            services_.listener.EngineUnavailable(*engineUnavailable_);
            outcome.reason = engineUnavailable_->Said();
        } catch (...) {
            outcome.reason = CurrentFailure().Said();
        }
        return true;
    }

    void MakeFolder(const Text& pdf) {
        const Text folder = FolderOf(pdf, services_.fileSystem.Separator());
        Text error;
        if (!services_.folders.Make(folder, error))
            throw SystemError(FolderNotMadeError,
                              "The folder for the PDF could not be made: " + error + ".");
    }

    void End(const DocumentOutcome& outcome) {
        ++counts_.done;
        if (outcome.status == DocumentStatus::Failed) ++counts_.failed;
        if (outcome.status == DocumentStatus::Converted) ++counts_.converted;
        counts_.elapsed = Clock::now() - started_;
        services_.listener.Ended(outcome, counts_);
    }

    const std::vector<PlannedDocument>& plan_;
    const bool update_;
    const BatchServices& services_;
    std::vector<std::optional<bool>> upToDate_;
    std::optional<Failure> engineUnavailable_;
    ProgressCounts counts_;
    const Clock::time_point started_ = Clock::now();
};

}  // namespace

int ExitStatus(BatchEnd end) {
    switch (end) {
        case BatchEnd::AllConverted:
            return 0;
        case BatchEnd::SomeFailed:
            return 1;
        case BatchEnd::Interrupted:
            break;
    }
    return 130;
}

BatchEnd RunBatch(const std::vector<PlannedDocument>& plan, bool update,
                  const BatchServices& services, std::stop_token stop) {
    return Batch(plan, update, services).Run(stop);
}

}  // namespace pendrel::batch
