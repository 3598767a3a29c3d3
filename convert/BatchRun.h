#pragma once
// One run of the Convert button over the whole queue: every document is printed to a PDF
// beside it and its item marked "Done". A document that fails is reported and the run goes
// on with the next one.
#include "convert/Failure.h"
#include "convert/RunInterruption.h"
#include "convert/WaitLimits.h"
#include "platform/Automation.h"
#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/WindowMessages.h"
#include "platform/WindowSurface.h"

namespace pendrel::BatchRun {

inline constexpr const char* ProcessingSuffix = " [ Processing... ]";
inline constexpr const char* DoneSuffix = " [ Done ]";
inline constexpr const char* NotDocMessage = "File does not appear to be doc.";
inline constexpr const char* EmptyQueueMessage = "No Word files added.";
// Two documents of one run would print to one PDF: the system's "already exists".
inline constexpr std::int32_t SamePdfNumber = 183;
inline constexpr const char* EngineUnavailableMessage =
    "No document can be converted: the program that converts them cannot be started. The "
    "queue is left as it was.";

struct Surroundings {
    WindowSurface& form;
    ListView& list;
    FileSystem& fileSystem;
    MessageBoxes& messageBoxes;
    EventPump& eventPump;
    AutomationFactory& automation;
    WindowMessages& windowMessages;
    RunProgress& progress;
    LookAhead& lookAhead;
    RunInterruption* interruption = nullptr;
    WaitLimits limits = {};
};

void ConvertQueue(const Surroundings& run);

// Why a document is not converted when its PDF is already another document's of the run.
Failure SamePdf(const Text& pdf, const Text& owner);

// The document's path with its last three characters replaced by "pdf".
Text OutputPathFor(const Text& documentPath);

}  // namespace pendrel::BatchRun
