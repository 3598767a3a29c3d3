#pragma once
// A batch without a window: every planned document is rendered to its PDF in order, while the
// renderer works ahead; a PDF already at the name is set aside and comes back unless the new
// one arrives; a document that fails is reported and the batch goes on. Each document's end
// is told to the listener as it happens.
#include <stop_token>

#include "batch/BatchPlan.h"
#include "batch/BatchProgress.h"
#include "batch/DocumentOutcome.h"
#include "platform/FileSystem.h"
#include "platform/OutputFolders.h"
#include "platform/PdfRenderer.h"

namespace pendrel::batch {

class BatchListener {
public:
    virtual ~BatchListener() = default;
    virtual void Ended(const DocumentOutcome& outcome, const ProgressCounts& counts) = 0;
    // No document can be converted: said once, before the documents it fails.
    virtual void EngineUnavailable(const Failure& why) = 0;
};

struct BatchServices {
    FileSystem& fileSystem;
    OutputFolders& folders;
    PdfRenderer& renderer;
    BatchListener& listener;
};

enum class BatchEnd { AllConverted, SomeFailed, Interrupted };

// The process's exit status: 0, 1, or 130 (as a shell reports a program ended by Ctrl+C).
int ExitStatus(BatchEnd end);

// The reason a document skipped by --update is given.
inline constexpr const char* UpToDateReason = "Its PDF is newer than the document.";
// Failure number when the folder for a PDF under the output folder cannot be made.
inline constexpr std::int32_t FolderNotMadeError = 76;

BatchEnd RunBatch(const std::vector<PlannedDocument>& plan, bool update,
                  const BatchServices& services, std::stop_token stop);

}  // namespace pendrel::batch
