#pragma once
// Paths handed to the program from outside the window (the command line, a drop on the
// window) go to the end of the queue as the buttons would put them there.
#include <cstddef>
#include <vector>

#include "platform/Controls.h"
#include "platform/DirectoryLister.h"
#include "platform/FileSystem.h"
#include "queue/AddFolder.h"

namespace pendrel::AddPaths {

// How many missing paths the message names before it only counts the rest.
inline constexpr std::size_t MostNamed = 10;

// path itself when it is absolute, else path taken from currentFolder with "." and ".."
// resolved. A trailing separator is dropped (a root keeps its own). Empty stays empty.
Text Absolute(const Text& path, const Text& currentFolder);

// What could not be queued: paths that do not exist (an empty path among them), and documents,
// folders, pipes and devices that were found but cannot be added.
struct Leftovers {
    std::vector<Text> missing;
    std::vector<AddFolder::NotAdded> notAdded;

    bool empty() const { return missing.empty() && notAdded.empty(); }
};

// Queues each path in the order given: a folder with every document under it, as Add Folder
// does; a file when its name ends in "doc", as Add Files does. A pipe, a device or a socket is
// named among the leftovers; any other file is skipped silently.
Leftovers QueueEach(const std::vector<Text>& paths, const FileSystem& fileSystem,
                    DirectoryLister& lister, ListView& list);

// The one message that names what was not found and what could not be added.
Text LeftoversMessage(const Leftovers& leftovers);

}  // namespace pendrel::AddPaths
