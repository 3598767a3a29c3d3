#pragma once
#include "platform/FileSystem.h"

namespace pendrel::posix {

class PosixFileSystem : public FileSystem {
public:
    char Separator() const override { return '/'; }
    std::optional<std::int64_t> ModificationTime(const Text& path) const noexcept override;
    std::optional<std::uint64_t> FileSize(const Text& path) const noexcept override;
    // POSIX keeps no record of who writes a file; the embedded printer publishes its PDFs
    // whole, by renaming them into place.
    bool IsOpenForWriting(const Text&) const noexcept override { return false; }
    PathKind KindOf(const Text& path, bool followLinks) const noexcept override;
    // Read-only when the mode gives nobody leave to write: root may write anything, so the
    // permission the caller has would not tell.
    bool IsReadOnly(const Text& path) const noexcept override;
    std::optional<std::string> ReadStart(const Text& path,
                                         std::size_t count) const noexcept override;
    bool ProcessHasEnded(std::int64_t processId) const noexcept override;
    void DeleteFile(const Text& path) override;
    void RenameFile(const Text& from, const Text& to) override;
    // A name that begins with "." is hidden already.
    void SetHidden(const Text&, bool) noexcept override {}
};

}  // namespace pendrel::posix
