#include "convert/BatchRun.h"

#include <map>
#include <vector>

#include "common/Misc.h"
#include "convert/Failure.h"
#include "convert/OldPdf.h"
#include "convert/PrintWait.h"
#include "convert/Word1.h"
#include "platform/AppInfo.h"
#include "queue/Queue.h"

namespace pendrel::BatchRun {
namespace {

void ReportFailure(const Surroundings& run, const Text& path, const Failure& failure) {
    run.messageBoxes.Show(path + "\n\n" + failure.Said(), ApplicationTitle);
}

// Prints the open document and waits for its PDF; the caller ends Word. A PDF already at the
// output name is set aside meanwhile and comes back if anything fails.
void PrintDocument(const Surroundings& run, Dispatch& app, const Text& path) {
    const Text outputPath = OutputPathFor(path);
    OldPdf old(run.fileSystem, outputPath);
    const RunInterruption::Printing printing(run.interruption, old);
    Word1::PrintToPdfWriter(app, outputPath, run.windowMessages, run.eventPump, run.limits.dialog);
    PrintWait::ForFinishedFile(app, run.fileSystem, run.eventPump, outputPath, run.limits);
    old.Discard();
}

enum class Outcome { Converted, NotConverted, EngineUnavailable };

// The PDFs of the run so far, each with the document it belongs to: the first whose turn came.
using PdfOwners = std::map<Text, Text>;

// Throws SystemError when the document's PDF is another document's of this run already
// ("same.doc" and "same.DOC" both print to "same.pdf"): neither may overwrite the other.
void ClaimPdf(PdfOwners& owners, const Text& path) {
    const Text pdf = OutputPathFor(path);
    const auto [owner, claimed] = owners.try_emplace(pdf, path);
    // The same document queued twice prints the same PDF twice: nothing is lost.
    if (claimed || owner->second == path) return;
    const Failure same = SamePdf(pdf, owner->second);
    throw SystemError(same.number, same.description);
}

// Items are followed by id: messages are handled while a document prints, and the user may
// remove items meanwhile.
Outcome ConvertItem(const Surroundings& run, ListView::ItemId id, PdfOwners& owners) {
    const auto index = run.list.IndexOf(id);
    if (!index) return Outcome::NotConverted;
    const Text path = run.list.ItemText(*index);
    run.list.EnsureVisible(*index);
    run.form.SetMousePointer(MousePointer::Busy);
    DispatchPtr app;
    try {
        const bool isDoc = Queue::HasDocEnding(path);
        if (isDoc) {
            ClaimPdf(owners, path);
            OldPdf::CheckReplaceable(run.fileSystem, OutputPathFor(path));
        }
        app = Word1::OpenInWord(run.automation, path);
        if (isDoc) {
            PrintDocument(run, *app, path);
        } else {
            run.messageBoxes.Show(NotDocMessage, ApplicationTitle);
        }
        // Cleared first so that a failing Quit is not tried a second time.
        const DispatchPtr ending = std::move(app);
        Word1::Quit(*ending);
        if (!isDoc) return Outcome::NotConverted;
        if (const auto now = run.list.IndexOf(id)) {
            run.list.SetSubItem(*now, Queue::StatusColumn, Queue::Done);
        }
        return Outcome::Converted;
    } catch (const AutomationServerUnavailable& e) {
        if (app) Word1::QuitQuietly(*app);
        // Not this document's fault, and every other document would fail alike: said once.
        run.messageBoxes.Show(
            Text(EngineUnavailableMessage) + "\n\n" + Failure{e.Number(), e.Description()}.Said(),
            ApplicationTitle);
        return Outcome::EngineUnavailable;
    } catch (...) {
        const Failure failure = CurrentFailure();
        if (app) Word1::QuitQuietly(*app);
        ReportFailure(run, path, failure);
        return Outcome::NotConverted;
    }
}

// The documents the run opens next, from position `from` of the run's items on: the ones
// still queued whose names end in "doc", at most as many as the engine wants to know of.
std::vector<LookAhead::Document> Upcoming(const Surroundings& run,
                                          const std::vector<ListView::ItemId>& ids,
                                          std::size_t from) {
    std::vector<LookAhead::Document> next;
    const std::size_t depth = run.lookAhead.Depth();
    for (std::size_t k = from; k < ids.size() && next.size() < depth; ++k) {
        const auto index = run.list.IndexOf(ids[k]);
        if (!index) continue;
        Text path = run.list.ItemText(*index);
        if (Queue::HasDocEnding(path)) next.push_back({ids[k], std::move(path)});
    }
    return next;
}

}  // namespace

Failure SamePdf(const Text& pdf, const Text& owner) {
    return {SamePdfNumber, "This document's PDF would be " + pdf + ", which is the PDF of " +
                               owner +
                               " in this run, so this document is not converted. Rename one "
                               "of the two to convert both."};
}

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
    bool anyFailed = false, engineUnavailable = false;
    PdfOwners owners;
    if (count != 0) run.progress.Show(0, count, false);
    for (std::size_t k = 0; k < ids.size() && !engineUnavailable; ++k) {
        run.lookAhead.Expect(Upcoming(run, ids, k));
        const Outcome outcome = ConvertItem(run, ids[k], owners);
        engineUnavailable = outcome == Outcome::EngineUnavailable;
        // An item that is not converted counts as failed, unless it was removed meanwhile.
        anyFailed |= outcome != Outcome::Converted && run.list.IndexOf(ids[k]).has_value();
        run.progress.Show(k + 1, count, anyFailed);
    }
    run.lookAhead.Expect({});
    run.progress.Clear();
    if (engineUnavailable) {
        run.form.SetCaption(ProductName);  // nothing was converted; every item is as it was
    } else if (run.list.ItemCount() != 0) {
        run.form.SetCaption(Text(ProductName) + DoneSuffix);
    } else {
        run.form.SetCaption(ProductName);
        run.messageBoxes.Show(EmptyQueueMessage, ApplicationTitle);
    }
    run.form.SetMousePointer(MousePointer::Arrow);
}

}  // namespace pendrel::BatchRun
