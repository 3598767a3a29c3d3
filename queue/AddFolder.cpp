#include "queue/AddFolder.h"

#include "platform/text/Utf8.h"
#include "queue/Queue.h"

namespace pendrel::AddFolder {
namespace {

constexpr std::uint32_t FilesMask = FileAttribute::Hidden | FileAttribute::System;
constexpr std::uint32_t FoldersMask = FileAttribute::Directory;

// Lists one folder entry and appends the entries of its subfolders to folders.
void AppendSubfolders(DirectoryLister& lister, char separator, const Text& entry,
                      std::vector<Text>& folders, EnteredFolders& entered,
                      std::vector<NotAdded>* notAdded) {
    const auto listing = lister.List(entry, "*", FoldersMask);
    if (!listing) return;  // a folder that cannot be listed adds nothing below it
    for (const auto& item : *listing) {
        if (item.name == "." || item.name == "..") continue;
        if ((item.attributes & FileAttribute::Directory) == 0) continue;
        if (!item.problem.empty()) {
            if (notAdded)
                notAdded->push_back({Utf8::Visible(entry + item.name) + separator,
                                     "a folder whose documents cannot be added: " + item.problem,
                                     entry + item.name + separator});
            continue;
        }
        Text full = entry + item.name;
        if (!entered.Enter(lister, full)) continue;
        full += separator;
        folders.push_back(std::move(full));
    }
}

}  // namespace

bool EnteredFolders::Enter(DirectoryLister& lister, const Text& folder) {
    const auto identity = lister.FolderIdentity(folder);
    return identity && identities_.insert(*identity).second;
}

FileNames ListFiles(DirectoryLister& lister, char separator, Text folder, const Text& pattern,
                    std::vector<DirectoryLister::Entry>* unusable) {
    if (folder.empty() || folder.back() != separator) folder += separator;
    FileNames names;
    if (const auto listing = lister.List(folder, pattern, FilesMask)) {
        for (const auto& item : *listing) {
            if (item.problem.empty())
                names.Add(item.name);
            else if (unusable)
                unusable->push_back(item);
        }
    }
    return names;
}

void ExpandSubfolders(DirectoryLister& lister, char separator, std::vector<Text>& folders,
                      bool recurse, EnteredFolders& entered, std::vector<NotAdded>* notAdded) {
    // Iterative form of the level-by-level recursion: same order, no stack depth per level.
    std::size_t levelBegin = 0;
    std::size_t levelEnd = folders.size();
    while (levelBegin < levelEnd) {
        for (std::size_t i = levelBegin; i < levelEnd; ++i) {
            const Text entry = folders[i];  // a copy: appending may move the vector
            AppendSubfolders(lister, separator, entry, folders, entered, notAdded);
        }
        if (!recurse) return;
        levelBegin = levelEnd;
        levelEnd = folders.size();
    }
}

std::vector<NotAdded> QueueFolder(DirectoryLister& lister, char separator, const Text& folder,
                                  ListView& list) {
    std::vector<NotAdded> notAdded;
    EnteredFolders entered;
    if (!entered.Enter(lister, folder)) return notAdded;
    std::vector<Text> folders{folder + separator};
    ExpandSubfolders(lister, separator, folders, true, entered, &notAdded);

    for (const Text& entry : folders) {
        const Text parent = entry.substr(0, entry.size() - 1);
        std::vector<DirectoryLister::Entry> unusable;
        const FileNames names = ListFiles(lister, separator, parent, DocumentPattern, &unusable);
        for (std::size_t d = 1; d <= names.UpperBound(); ++d) {
            if (names[d].starts_with('~')) continue;
            Queue::Append(list, parent + separator + names[d]);
        }
        for (const auto& item : unusable)
            if (!item.name.starts_with('~'))
                notAdded.push_back({Utf8::Visible(parent + separator + item.name), item.problem,
                                    parent + separator + item.name});
    }
    return notAdded;
}

}  // namespace pendrel::AddFolder
