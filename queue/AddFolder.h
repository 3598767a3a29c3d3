#pragma once
// Add Folder: every document in a folder and all its subfolders goes to the end of the queue,
// folder by folder, breadth-first.
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/DirectoryLister.h"

namespace pendrel::AddFolder {

inline constexpr const char* BrowserTitle = "Please select folder to add:";
inline constexpr const char* DocumentPattern = "*.doc";

// The names ListFiles found, at positions 1 to UpperBound(); when there are none, one empty
// name at position 0 and UpperBound() is 0.
class FileNames {
public:
    std::size_t UpperBound() const { return slots_.size() - 1; }
    const Text& operator[](std::size_t position) const { return slots_.at(position); }
    void Add(Text name) { slots_.push_back(std::move(name)); }

private:
    std::vector<Text> slots_{Text()};
};

// A document or folder that a scan found but could not add, and why.
struct NotAdded {
    Text path;  // undecodable bytes shown as \xNN
    Text problem;
    Text bytes;  // the path as the file system has it
};

// The folders a scan has entered, by identity, so a link back to an ancestor (or a second
// link to the same folder) is entered once only.
class EnteredFolders {
public:
    // True the first time the folder is seen; false when it was entered before or its
    // identity cannot be read (it would not list either).
    bool Enter(DirectoryLister& lister, const Text& folder);

private:
    std::unordered_set<Text> identities_;
};

// The names of the files in folder that match pattern, hidden and system files included,
// directories never, in listing order. A folder that cannot be listed has none. The files
// that match but cannot be used go to unusable, when given.
FileNames ListFiles(DirectoryLister& lister, char separator, Text folder, const Text& pattern,
                    std::vector<DirectoryLister::Entry>* unusable = nullptr);

// Appends to folders (entries ending in the separator) the entries of their subfolders, level
// by level, each level grouped by parent in listing order; with recurse false only the direct
// subfolders. Hidden and system folders are never entered, nor any folder already in entered;
// folders that cannot be entered go to notAdded, when given.
void ExpandSubfolders(DirectoryLister& lister, char separator, std::vector<Text>& folders,
                      bool recurse, EnteredFolders& entered,
                      std::vector<NotAdded>* notAdded = nullptr);

// Queues, as "Queued", every document under folder except names beginning with "~", each as
// its folder + separator + name. Returns what was found but could not be added.
std::vector<NotAdded> QueueFolder(DirectoryLister& lister, char separator, const Text& folder,
                                  ListView& list);

}  // namespace pendrel::AddFolder
