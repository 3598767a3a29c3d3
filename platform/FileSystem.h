#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/NumberedError.h"
#include "platform/Text.h"

namespace pendrel {

// A failure reported by the operating system.
class SystemError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

// What is at a path. Windows tells only files, folders and devices apart.
enum class PathKind { Missing, File, Folder, Link, Pipe, Device, Socket };

// What a thing of this kind is called, in the words the user is told ("a folder", "a named
// pipe"); empty for nothing at all.
inline const char* KindName(PathKind kind) {
    switch (kind) {
        case PathKind::File:
            return "a file";
        case PathKind::Folder:
            return "a folder";
        case PathKind::Link:
            return "a link";
        case PathKind::Pipe:
            return "a named pipe";
        case PathKind::Device:
            return "a device";
        case PathKind::Socket:
            return "a socket";
        default:
            return "";
    }
}

// Why a pipe, a device or a socket cannot be converted: "it is a named pipe, not a file".
inline Text WhyNotAFile(PathKind kind) {
    return "it is " + Text(KindName(kind)) + ", not a file";
}

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // "\" on Windows, "/" elsewhere.
    virtual char Separator() const = 0;
    // Seconds since the epoch of the last modification, or nothing when it can't be read.
    // Never throws.
    virtual std::optional<std::int64_t> ModificationTime(const Text& path) const noexcept = 0;
    // Size in bytes of a regular file, or nothing when it can't be read. Never throws.
    virtual std::optional<std::uint64_t> FileSize(const Text& path) const noexcept = 0;
    // True while another program still holds the file open for writing, where the system can
    // tell (Windows can; elsewhere nothing says so, and this is false). Never throws.
    virtual bool IsOpenForWriting(const Text& path) const noexcept = 0;
    // What is at path: with followLinks, what a link leads to (Missing when it leads nowhere);
    // without, a link is a Link. Never throws.
    virtual PathKind KindOf(const Text& path, bool followLinks) const noexcept = 0;
    // True when the file at path is marked read-only: no write permission in its mode, or
    // Windows' read-only attribute. Never throws.
    virtual bool IsReadOnly(const Text& path) const noexcept = 0;
    // The first count bytes of the regular file at path, fewer when it is shorter; nothing when
    // it is no regular file or cannot be read. Never throws.
    virtual std::optional<std::string> ReadStart(const Text& path,
                                                 std::size_t count) const noexcept = 0;
    // True when no process with this id runs any more: the writer a partial file's name records
    // (PartialFile.h) has ended, and the file is abandoned. Never throws.
    virtual bool ProcessHasEnded(std::int64_t processId) const noexcept = 0;
    // Throws SystemError when the file can't be deleted.
    virtual void DeleteFile(const Text& path) = 0;
    // Renames a file within its file system, replacing whatever file is at to. Throws
    // SystemError when it can't.
    virtual void RenameFile(const Text& from, const Text& to) = 0;
    // Hides the file from the file manager, or shows it again, where hiding is an attribute
    // (Windows); elsewhere a name that begins with "." is what hides it. Never throws.
    virtual void SetHidden(const Text& path, bool hidden) noexcept = 0;
};

}  // namespace pendrel
