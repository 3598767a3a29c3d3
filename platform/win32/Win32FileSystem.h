#pragma once
// Files through the wide Win32 calls: "\" paths, last-write times, deleting and renaming.
#include "platform/FileSystem.h"

namespace pendrel::win32 {

class Win32FileSystem : public FileSystem {
public:
    char Separator() const override { return '\\'; }
    std::optional<std::int64_t> ModificationTime(const Text& path) const noexcept override;
    std::optional<std::uint64_t> FileSize(const Text& path) const noexcept override;
    bool IsOpenForWriting(const Text& path) const noexcept override;
    // Links are not told apart: a reparse point may as well be a file kept in the cloud.
    PathKind KindOf(const Text& path, bool followLinks) const noexcept override;
    bool IsReadOnly(const Text& path) const noexcept override;
    std::optional<std::string> ReadStart(const Text& path,
                                         std::size_t count) const noexcept override;
    bool ProcessHasEnded(std::int64_t processId) const noexcept override;
    void DeleteFile(const Text& path) override;
    void RenameFile(const Text& from, const Text& to) override;
    void SetHidden(const Text& path, bool hidden) noexcept override;
};

}  // namespace pendrel::win32
