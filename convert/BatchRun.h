#pragma once
// One run of the Convert button over the whole queue: every document is printed to a PDF
// beside it and its item marked "Done". A document that fails is reported and the run goes
// on with the next one.
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

struct Surroundings {
    WindowSurface& form;
    ListView& list;
    FileSystem& fileSystem;
    MessageBoxes& messageBoxes;
    EventPump& eventPump;
    AutomationFactory& automation;
    WindowMessages& windowMessages;
    WaitLimits limits = {};
};

void ConvertQueue(const Surroundings& run);

// The document's path with its last three characters replaced by "pdf".
Text OutputPathFor(const Text& documentPath);

}  // namespace pendrel::BatchRun
