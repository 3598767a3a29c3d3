#include "convert/Word1.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "convert/PrintWait.h"
#include "platform/WordContract.h"
#include "platform/text/Utf16.h"

namespace pendrel::Word1 {
namespace {

// Documents.Open in its sixteen-argument form, everything but FileName omitted.
std::vector<Variant> OpenArguments(const Text& path) {
    std::vector<Variant> args(WordContract::OpenArgumentCount, Variant::Missing());
    args[0] = Variant::String(path);
    return args;
}

using WordContract::SaveAsDialogClass;
using WordContract::SaveAsDialogTitle;
constexpr std::chrono::milliseconds DialogPollSlice{10};

bool IsAmong(WindowHandle window, const std::vector<WindowHandle>& windows) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// The first printer's dialog that is not among alreadyOpen, or 0.
WindowHandle FindNewDialog(WindowMessages& windows, const std::vector<WindowHandle>& alreadyOpen) {
    const WindowHandle first = windows.FindWindow(SaveAsDialogClass, SaveAsDialogTitle);
    if (first == 0 || !IsAmong(first, alreadyOpen)) return first;
    for (const WindowHandle window : windows.FindWindows(SaveAsDialogClass, SaveAsDialogTitle)) {
        if (!IsAmong(window, alreadyOpen)) return window;
    }
    return 0;
}

// A dialog's edit box and Save button. A dialog can be found while its controls are still
// being made, and what is posted to a control not yet there is lost: the printer would wait
// for a name that never comes.
struct DialogControls {
    WindowHandle edit = 0;
    WindowHandle save = 0;
};

std::optional<DialogControls> ControlsOf(WindowMessages& windows, WindowHandle dialog) {
    const WindowHandle edit =
        windows.FindWindowEx(dialog, 0, WordContract::SaveAsEditClass, std::nullopt);
    if (edit == 0) return std::nullopt;
    const WindowHandle save = windows.FindWindowEx(dialog, edit, WordContract::SaveAsButtonClass,
                                                   Text(WordContract::SaveAsSaveButton));
    if (save == 0) return std::nullopt;
    return DialogControls{edit, save};
}

// Searches until the dialog exists with its controls; messages are processed after every
// search, the successful one included.
DialogControls WaitForNewDialog(WindowMessages& windows, EventPump& pump,
                                const std::vector<WindowHandle>& alreadyOpen,
                                std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + limit;
    for (;;) {
        const WindowHandle found = FindNewDialog(windows, alreadyOpen);
        if (const auto controls = found != 0 ? ControlsOf(windows, found) : std::nullopt) {
            pump.ProcessPendingMessages(std::chrono::milliseconds(0));
            return *controls;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            throw SystemError(PrintWait::TimeoutErrorNumber,
                              "The PDF printer did not ask for a file name within " +
                                  PrintWait::DescribeLimit(limit) + ".");
        }
        pump.ProcessPendingMessages(std::min(DialogPollSlice, left));
    }
}

}  // namespace

DispatchPtr OpenInWord(AutomationFactory& automation, const Text& path) {
    DispatchPtr app = automation.CreateObject("Word.Application");
    if (!app) throw AutomationError(429, "Word.Application could not be created.");
    try {
        const Variant documents = app->Get("Documents");
        if (documents.type() != Variant::Type::Object || !documents.AsObject()) {
            throw AutomationError(91, "Word has no Documents collection.");
        }
        documents.AsObject()->Call("Open", OpenArguments(path));
    } catch (...) {
        QuitQuietly(*app);
        throw;
    }
    return app;
}

void PrintToPdfWriter(Dispatch& app, const Text& outputPath, WindowMessages& windows,
                      EventPump& pump, std::chrono::milliseconds dialogLimit) {
    const Variant savedPrinter = app.Get("ActivePrinter");
    app.Put("ActivePrinter", Variant::String(WordContract::PdfPrinterName));
    try {
        // Noted before printing: the printer's own dialog is the one that shows up after.
        const std::vector<WindowHandle> alreadyOpen =
            windows.FindWindows(SaveAsDialogClass, SaveAsDialogTitle);
        app.Call("PrintOut", WordContract::PrintOutValues());
        AnswerSaveAsDialog(outputPath, windows, pump, dialogLimit, alreadyOpen);
    } catch (...) {
        // The user's own printer comes back whatever failed; the first failure is reported.
        try {
            app.Put("ActivePrinter", savedPrinter);
        } catch (...) {
        }
        throw;
    }
    app.Put("ActivePrinter", savedPrinter);
}

void AnswerSaveAsDialog(const Text& path, WindowMessages& windows, EventPump& pump,
                        std::chrono::milliseconds limit) {
    AnswerSaveAsDialog(path, windows, pump, limit, {});
}

void AnswerSaveAsDialog(const Text& path, WindowMessages& windows, EventPump& pump,
                        std::chrono::milliseconds limit,
                        const std::vector<WindowHandle>& alreadyOpen) {
    const DialogControls dialog = WaitForNewDialog(windows, pump, alreadyOpen, limit);
    const std::intptr_t typed = MakeLong(1, 48);  // repeat count 1, scan code 0x30
    // UTF-16 units, so any character arrives as typed; one beyond the BMP takes two.
    for (const char16_t unit : Utf16::FromUtf8(path)) {
        windows.PostMessage(dialog.edit, WmChar, unit, typed);
    }
    windows.PostMessage(dialog.save, WmLButtonDown, MkLButton, MakeLong(0, 0));
    windows.PostMessage(dialog.save, WmLButtonUp, MkLButton, MakeLong(0, 0));
}

std::int32_t MakeLong(std::int16_t low, std::int16_t high) {
    const auto bits = (static_cast<std::uint32_t>(static_cast<std::uint16_t>(high)) << 16) |
                      static_cast<std::uint16_t>(low);
    return static_cast<std::int32_t>(bits);
}

void Quit(Dispatch& app) {
    app.Call("Quit", {});
}

void QuitQuietly(Dispatch& app) noexcept {
    try {
        Quit(app);
    } catch (...) {
    }
}

}  // namespace pendrel::Word1
