#include "convert/BatchRun.h"

#include <exception>
#include <vector>

#include "common/Misc.h"
#include "convert/PrintWait.h"
#include "convert/Word1.h"
#include "platform/AppInfo.h"
#include "queue/Queue.h"

namespace pendrel::BatchRun {
namespace {

// The number shown for a failure that brings none of its own.
constexpr std::int32_t UnexpectedErrorNumber = 51;

struct Failure {
    std::int32_t number;
    Text description;
};

// Must be called from inside a catch block.
Failure CurrentFailure() {
    try {
        throw;
    } catch (const NumberedError& e) {
        return {e.Number(), e.Description()};
    } catch (const std::exception& e) {
        return {UnexpectedErrorNumber, e.what()};
    } catch (...) {
        return {UnexpectedErrorNumber, "An unexpected error occurred."};
    }
}

void ReportFailure(const Surroundings& run, const Text& path, const Failure& failure) {
    run.messageBoxes.Show(
        path + "\n\nError " + std::to_string(failure.number) + ": " + failure.description,
        ApplicationTitle);
}

// Prints the open document and waits for its PDF; the caller ends Word.
void PrintDocument(const Surroundings& run, Dispatch& app, const Text& path) {
    const Text outputPath = OutputPathFor(path);
    if (Misc::FileExists(run.fileSystem, outputPath)) run.fileSystem.DeleteFile(outputPath);
    Word1::PrintToPdfWriter(app, outputPath, run.windowMessages, run.eventPump, run.limits.dialog);
    PrintWait::ForFinishedFile(app, run.fileSystem, run.eventPump, outputPath, run.limits);
}

// Items are followed by id: messages are handled while a document prints, and the user may
// remove items meanwhile.
void ConvertItem(const Surroundings& run, ListView::ItemId id) {
    const auto index = run.list.IndexOf(id);
    if (!index) return;
    const Text path = run.list.ItemText(*index);
    run.form.SetMousePointer(MousePointer::Busy);
    DispatchPtr app;
    try {
        app = Word1::OpenInWord(run.automation, path);
        const bool isDoc = Queue::HasDocEnding(path);
        if (isDoc) {
            PrintDocument(run, *app, path);
        } else {
            run.messageBoxes.Show(NotDocMessage, ApplicationTitle);
        }
        // Cleared first so that a failing Quit is not tried a second time.
        const DispatchPtr ending = std::move(app);
        Word1::Quit(*ending);
        if (!isDoc) return;
        if (const auto now = run.list.IndexOf(id)) {
            run.list.SetSubItem(*now, Queue::StatusColumn, Queue::Done);
        }
    } catch (...) {
        const Failure failure = CurrentFailure();
        if (app) Word1::QuitQuietly(*app);
        ReportFailure(run, path, failure);
    }
}

}  // namespace

Text OutputPathFor(const Text& documentPath) {
    // Only paths ending in "doc" get here, so the last three bytes are three characters.
    return documentPath.substr(0, documentPath.size() - 3) + "pdf";
}

void ConvertQueue(const Surroundings& run) {
    run.form.SetMousePointer(MousePointer::Busy);
    run.form.SetCaption(Text(ProductName) + ProcessingSuffix);
    const std::size_t count = run.list.ItemCount();
    std::vector<ListView::ItemId> ids;
    ids.reserve(count);
    for (std::size_t i = 1; i <= count; ++i) ids.push_back(run.list.IdAt(i));
    for (const ListView::ItemId id : ids) ConvertItem(run, id);
    if (run.list.ItemCount() != 0) {
        run.form.SetCaption(Text(ProductName) + DoneSuffix);
    } else {
        run.form.SetCaption(ProductName);
        run.messageBoxes.Show(EmptyQueueMessage, ApplicationTitle);
    }
    run.form.SetMousePointer(MousePointer::Arrow);
}

}  // namespace pendrel::BatchRun
