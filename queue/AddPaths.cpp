#include "queue/AddPaths.h"

#include <filesystem>
#include <string>

#include "platform/text/Utf8.h"
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

// What is at the path, links followed.
PathKind KindOf(const Text& path, const FileSystem& fileSystem) {
    // An empty path would name the current folder to the platform; nobody meant that.
    return path.empty() ? PathKind::Missing : fileSystem.KindOf(path, true);
}

}  // namespace

Text Absolute(const Text& path, const Text& currentFolder) {
    if (path.empty()) return path;
    std::filesystem::path full = PathOf(path);
    if (!full.is_absolute()) full = (PathOf(currentFolder) / full).lexically_normal();
    while (!full.has_filename() && full.has_relative_path()) full = full.parent_path();
    return TextOf(full);
}

Leftovers QueueEach(const std::vector<Text>& paths, const FileSystem& fileSystem,
                    DirectoryLister& lister, ListView& list) {
    Leftovers leftovers;
    for (const Text& path : paths) {
        const PathKind kind = KindOf(path, fileSystem);
        switch (kind) {
            case PathKind::Folder: {
                // One the lister cannot enter adds nothing, as with Add Folder.
                auto notAdded = AddFolder::QueueFolder(lister, fileSystem.Separator(), path, list);
                leftovers.notAdded.insert(leftovers.notAdded.end(), notAdded.begin(),
                                          notAdded.end());
                break;
            }
            case PathKind::File:
                if (!Queue::HasDocEnding(path)) break;
                if (Utf8::IsValid(path))
                    Queue::Append(list, path);
                else
                    leftovers.notAdded.push_back({Utf8::Visible(path), NameIsNotText, path});
                break;
            case PathKind::Pipe:
            case PathKind::Device:
            case PathKind::Socket:
                // Named on purpose, whatever its name: said, not passed over.
                leftovers.notAdded.push_back({Utf8::Visible(path), WhyNotAFile(kind), path});
                break;
            case PathKind::Link:  // followed: never here
                break;
            case PathKind::Missing:
                leftovers.missing.push_back(path);
                break;
        }
    }
    return leftovers;
}

namespace {

// One section of the message: a heading, then each entry on a line of its own, the first
// MostNamed of them, and how many more there are.
template <typename Entries, typename Line>
Text Section(const Entries& entries, const Text& one, const Text& many, Line line) {
    Text section = (entries.size() == 1 ? one : many) + "\n";
    for (std::size_t i = 0; i < entries.size() && i < MostNamed; ++i)
        section += "\n" + line(entries[i]);
    if (entries.size() > MostNamed)
        section += "\n... and " + std::to_string(entries.size() - MostNamed) + " more";
    return section;
}

}  // namespace

Text LeftoversMessage(const Leftovers& leftovers) {
    Text message;
    if (!leftovers.missing.empty())
        message = Section(leftovers.missing, "This was not found and was not added:",
                          "These were not found and were not added:", [](const Text& path) {
                              return path.empty() ? Text("\"\"") : Utf8::Visible(path);
                          });
    if (!leftovers.notAdded.empty()) {
        if (!message.empty()) message += "\n\n";
        message +=
            Section(leftovers.notAdded, "This could not be added:", "These could not be added:",
                    [](const AddFolder::NotAdded& n) { return n.path + " (" + n.problem + ")"; });
    }
    return message;
}

}  // namespace pendrel::AddPaths
