#pragma once
#include <cstdint>
#include <optional>

#include "platform/NumberedError.h"
#include "platform/Text.h"

namespace pendrel {

// A failure reported by the operating system.
class SystemError : public NumberedError {
public:
    using NumberedError::NumberedError;
};

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
