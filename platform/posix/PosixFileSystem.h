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
    void DeleteFile(const Text& path) override;
    void RenameFile(const Text& from, const Text& to) override;
    // A name that begins with "." is hidden already.
    void SetHidden(const Text&, bool) noexcept override {}
};

}  // namespace pendrel::posix
