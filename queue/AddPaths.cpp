#include "queue/AddPaths.h"

#include <filesystem>
#include <string>

#include "queue/AddFolder.h"
#include "queue/Queue.h"

namespace pendrel::AddPaths {
namespace {

// Text is UTF-8 everywhere; a path built from plain chars would take the system's code page.
std::filesystem::path PathOf(const Text& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

Text TextOf(const std::filesystem::path& path) {
    const std::u8string utf8 = path.u8string();
    return Text(utf8.begin(), utf8.end());
}

enum class Kind { Folder, File, Other, Missing };

Kind KindOf(const Text& path, const FileSystem& fileSystem, DirectoryLister& lister) {
    // An empty path would name the current folder to the platform; nobody meant that.
    if (path.empty()) return Kind::Missing;
    if (lister.FolderIdentity(path)) return Kind::Folder;
    if (fileSystem.FileSize(path)) return Kind::File;
    if (fileSystem.ModificationTime(path)) return Kind::Other;
    return Kind::Missing;
}

}  // namespace

Text Absolute(const Text& path, const Text& currentFolder) {
    if (path.empty()) return path;
    std::filesystem::path full = PathOf(path);
    if (!full.is_absolute()) full = (PathOf(currentFolder) / full).lexically_normal();
    while (!full.has_filename() && full.has_relative_path()) full = full.parent_path();
    return TextOf(full);
}

std::vector<Text> QueueEach(const std::vector<Text>& paths, const FileSystem& fileSystem,
                            DirectoryLister& lister, ListView& list) {
    std::vector<Text> missing;
    for (const Text& path : paths) {
        switch (KindOf(path, fileSystem, lister)) {
            case Kind::Folder:
                AddFolder::QueueFolder(lister, fileSystem.Separator(), path, list);
                break;
            case Kind::File:
                if (Queue::HasDocEnding(path)) Queue::Append(list, path);
                break;
            case Kind::Other:
                break;
            case Kind::Missing:
                missing.push_back(path);
                break;
        }
    }
    return missing;
}

Text MissingMessage(const std::vector<Text>& missing) {
    Text message = missing.size() == 1 ? "This was not found and was not added:\n"
                                       : "These were not found and were not added:\n";
    for (std::size_t i = 0; i < missing.size() && i < MostNamed; ++i)
        message += "\n" + (missing[i].empty() ? Text("\"\"") : missing[i]);
    if (missing.size() > MostNamed)
        message += "\n... and " + std::to_string(missing.size() - MostNamed) + " more";
    return message;
}

}  // namespace pendrel::AddPaths
