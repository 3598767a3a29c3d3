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
    void DeleteFile(const Text& path) override;
    void RenameFile(const Text& from, const Text& to) override;
    void SetHidden(const Text& path, bool hidden) noexcept override;
};

}  // namespace pendrel::win32
