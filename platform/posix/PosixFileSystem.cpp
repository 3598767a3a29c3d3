#include "platform/posix/PosixFileSystem.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pendrel::posix {

std::optional<std::int64_t> PosixFileSystem::ModificationTime(const Text& path) const noexcept {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0) return std::nullopt;
    return static_cast<std::int64_t>(st.st_mtime);
}

std::optional<std::uint64_t> PosixFileSystem::FileSize(const Text& path) const noexcept {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

void PosixFileSystem::DeleteFile(const Text& path) {
    if (::unlink(path.c_str()) != 0) {
        const int error = errno;
        throw SystemError(error, "Could not delete " + path + ": " + std::strerror(error));
    }
}

void PosixFileSystem::RenameFile(const Text& from, const Text& to) {
    if (::rename(from.c_str(), to.c_str()) != 0) {
        const int error = errno;
        throw SystemError(error,
                          "Could not rename " + from + " to " + to + ": " + std::strerror(error));
    }
}

}  // namespace pendrel::posix
