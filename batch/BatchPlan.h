#pragma once
// What a batch without a window converts: the documents of the paths it was given, found by
// the rules of Add Folder and Add Word Files, each with the PDF it gets (beside it, or under
// the output folder at its path relative to the path it was found under), keeping only the
// batch's shard. What was given or found but cannot be converted is planned too, with its
// reason, so that it is reported in its place.
#include <optional>
#include <stop_token>
#include <vector>

#include "batch/Shard.h"
#include "convert/Failure.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"

namespace pendrel::batch {

struct BatchOptions {
    std::vector<Text> paths;  // as given, in order
    Text outputFolder;        // empty: each PDF beside its document
    bool update = false;      // skip documents whose PDF is newer than they are
    Shard shard;
};

struct PlannedDocument {
    Text path;                       // the document, absolute
    Text pdf;                        // where its PDF goes; empty when refused
    std::optional<Failure> refused;  // why it cannot be converted at all
};

// Numbers of the failures the plan itself finds, in the manner of the window's.
namespace PlanError {
constexpr std::int32_t NotFound = 53;   // a path given that is not there
constexpr std::int32_t CannotAdd = 75;  // found, but it cannot be added
}  // namespace PlanError

// A stop requested while the folders are read (a tree of a million documents takes minutes)
// ends the reading at once: the plan is then empty.
std::vector<PlannedDocument> Plan(const BatchOptions& options, const Text& currentFolder,
                                  const FileSystem& fileSystem, DirectoryLister& lister,
                                  std::stop_token stop = {});

// The PDF of the document at relativePath under outputFolder (the document's own name with
// its last three characters replaced by "pdf").
Text PdfUnder(const Text& outputFolder, const Text& relativePath, char separator);

}  // namespace pendrel::batch
