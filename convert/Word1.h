#pragma once
// Word automation: opening a document in a Word of its own, printing it to the PDF printer and
// answering that printer's "Save As" dialog from outside with posted window messages.
#include <chrono>
#include <cstdint>
#include <vector>

#include "platform/Automation.h"
#include "platform/Desktop.h"
#include "platform/WindowMessages.h"

namespace pendrel::Word1 {

// A new "Word.Application" with the document at path open in it. When the document cannot
// be opened, that Word is ended before the failure is passed on.
DispatchPtr OpenInWord(AutomationFactory& automation, const Text& path);

// Prints app's open document to "PDF Writer" in the background and answers the printer's
// dialog with outputPath; returns without waiting for the file. Word's printer is switched
// back to the one it had afterwards, also when a step fails.
void PrintToPdfWriter(Dispatch& app, const Text& outputPath, WindowMessages& windows,
                      EventPump& pump, std::chrono::milliseconds dialogLimit);

// Waits for the printer's dialog (SystemError when it does not show within limit), types path
// into its edit box, presses its Save button and returns at once.
void AnswerSaveAsDialog(const Text& path, WindowMessages& windows, EventPump& pump,
                        std::chrono::milliseconds limit);
// The same, taking only a dialog that is not among alreadyOpen: a "Save As" dialog that some
// other program had open before printing began is never typed into.
void AnswerSaveAsDialog(const Text& path, WindowMessages& windows, EventPump& pump,
                        std::chrono::milliseconds limit,
                        const std::vector<WindowHandle>& alreadyOpen);

// high in bits 31-16, low in bits 15-0; low is not sign-widened.
std::int32_t MakeLong(std::int16_t low, std::int16_t high);

// Quit with none of its optional arguments.
void Quit(Dispatch& app);
// Quit for a Word whose document already failed: a failure of its own would hide the first.
void QuitQuietly(Dispatch& app) noexcept;

}  // namespace pendrel::Word1
