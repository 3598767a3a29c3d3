#include "batch/BatchPlan.h"

#include <unordered_map>
#include <unordered_set>

#include "batch/FoundDocuments.h"
#include "convert/BatchRun.h"
#include "queue/AddPaths.h"

namespace pendrel::batch {
namespace {

// A document's path below the path it was found under; a path given as a file is its name.
Text RelativeTo(const Text& given, const Text& path, char separator) {
    Text prefix = given;
    if (prefix.empty() || prefix.back() != separator) prefix += separator;
    if (path.starts_with(prefix)) return path.substr(prefix.size());
    const auto slash = path.rfind(separator);
    return slash == Text::npos ? path : path.substr(slash + 1);
}

class Planner {
public:
    Planner(const BatchOptions& options, const FileSystem& fileSystem)
        : options_(options), separator_(fileSystem.Separator()) {}

    void Document(const Text& given, const Text& path) {
        if (!seen_.insert(path).second) return;  // named twice: converted once
        const Text relative = RelativeTo(given, path, separator_);
        const Text pdf = options_.outputFolder.empty()
                             ? BatchRun::OutputPathFor(path)
                             : PdfUnder(options_.outputFolder, relative, separator_);
        // Looked for before the shard is taken, so that no two shards write the same PDF.
        const auto [owner, claimed] = pdfs_.try_emplace(pdf, path);
        if (!options_.shard.Takes(relative)) return;
        if (!claimed) return Refuse(path, BatchRun::SamePdf(pdf, owner->second));
        plan_.push_back({path, pdf, std::nullopt});
    }

    void Refuse(const Text& given, const Text& path, const Failure& why) {
        if (options_.shard.Takes(RelativeTo(given, path, separator_))) Refuse(path, why);
    }

    std::vector<PlannedDocument> Take() { return std::move(plan_); }

private:
    void Refuse(const Text& path, const Failure& why) { plan_.push_back({path, {}, why}); }

    const BatchOptions& options_;
    const char separator_;
    std::unordered_set<Text> seen_;
    std::unordered_map<Text, Text> pdfs_;  // each PDF's document, the first to claim it
    std::vector<PlannedDocument> plan_;
};

struct Stopped {};

// The lister, given up on as soon as the batch is stopped.
class ListerUntilStopped final : public DirectoryLister {
public:
    ListerUntilStopped(DirectoryLister& lister, std::stop_token stop)
        : lister_(lister), stop_(std::move(stop)) {}

    std::optional<std::vector<Entry>> List(const Text& folder, const Text& pattern,
                                           std::uint32_t mask) override {
        if (stop_.stop_requested()) throw Stopped();
        return lister_.List(folder, pattern, mask);
    }
    std::optional<Text> FolderIdentity(const Text& folder) override {
        if (stop_.stop_requested()) throw Stopped();
        return lister_.FolderIdentity(folder);
    }

private:
    DirectoryLister& lister_;
    std::stop_token stop_;
};

// Each path given, scanned by the rules of Add Folder and Add Word Files.
void PlanEach(const BatchOptions& options, const Text& currentFolder, const FileSystem& fileSystem,
              DirectoryLister& lister, Planner& planner) {
    for (const Text& each : options.paths) {
        const Text given = AddPaths::Absolute(each, currentFolder);
        FoundDocuments found;
        const AddPaths::Leftovers leftovers =
            AddPaths::QueueEach({given}, fileSystem, lister, found);
        for (const Text& path : found.Paths()) planner.Document(given, path);
        for (const Text& missing : leftovers.missing)
            planner.Refuse(given, missing.empty() ? each : missing,
                           {PlanError::NotFound, "It was not found."});
        for (const AddFolder::NotAdded& notAdded : leftovers.notAdded)
            planner.Refuse(given, notAdded.bytes.empty() ? notAdded.path : notAdded.bytes,
                           {PlanError::CannotAdd, "It cannot be added: " + notAdded.problem + "."});
    }
}

}  // namespace

Text PdfUnder(const Text& outputFolder, const Text& relativePath, char separator) {
    Text folder = outputFolder;
    if (folder.empty() || folder.back() != separator) folder += separator;
    return folder + BatchRun::OutputPathFor(relativePath);
}

std::vector<PlannedDocument> Plan(const BatchOptions& options, const Text& currentFolder,
                                  const FileSystem& fileSystem, DirectoryLister& folders,
                                  std::stop_token stop) {
    Planner planner(options, fileSystem);
    ListerUntilStopped lister(folders, std::move(stop));
    try {
        PlanEach(options, currentFolder, fileSystem, lister, planner);
    } catch (const Stopped&) {
        return {};
    }
    return planner.Take();
}

}  // namespace pendrel::batch
