#pragma once
// One document's render on the pool of helpers: copied into a helper's folder, loaded, printed
// to a PDF in the spool and closed. The pool owns its state and changes it under its lock.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/office/pool/DocumentCopy.h"
#include "platform/office/pool/HelperProcess.h"

namespace pendrel::office {

struct RenderJob {
    using Clock = std::chrono::steady_clock;
    enum class Stage { Waiting, Copying, Loading, Rendering, Rendered, Failed };

    RenderJob(std::uint64_t keyIn, std::string pathIn) : key(keyIn), path(std::move(pathIn)) {}

    std::uint64_t key;  // the run's key for the document; 0 when only Documents.Open asked
    std::string path;   // the user's document

    Stage stage = Stage::Waiting;
    int attempts = 0;                      // helpers it was given to, this one included
    bool loaded = false;                   // it opened
    bool taken = false;                    // Documents.Open took it for the batch
    bool unwanted = false;                 // dropped as soon as its helper is done with it
    std::optional<FileIdentity> identity;  // of the document when its copy began

    std::shared_ptr<HelperProcess> helper;
    std::uint32_t loadRequest = 0;
    std::uint32_t exportRequest = 0;
    Clock::time_point since;  // when the current stage began
    std::string copyPath;     // in the helper's folder
    std::string renderPath;   // in the helper's folder, while the helper writes it
    std::string readyPath;    // in the spool, once rendered
    std::uint64_t bytes = 0;  // of the copy and the PDF, counted against the look-ahead bound
    std::uint32_t pages = 0;  // of the PDF, once rendered

    std::optional<Reply> loadFailure;    // why it did not open
    std::optional<Reply> renderFailure;  // why it opened but no PDF came

    // Back to the start, for another helper: the one it was on failed through no fault of its.
    void StartOver() {
        stage = Stage::Waiting;
        loaded = false;
        helper.reset();
        loadRequest = exportRequest = 0;
        copyPath.clear();
        renderPath.clear();
        bytes = 0;
        pages = 0;
        loadFailure.reset();
        renderFailure.reset();
    }
    bool Finished() const { return stage == Stage::Rendered || stage == Stage::Failed; }
    bool InFlight() const {
        return stage == Stage::Copying || stage == Stage::Loading || stage == Stage::Rendering;
    }
};

}  // namespace pendrel::office
