#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>

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

PathKind PosixFileSystem::KindOf(const Text& path, bool followLinks) const noexcept {
    struct stat st {};
    if (path.empty()) return PathKind::Missing;
    const int got = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (got != 0) return PathKind::Missing;
    if (S_ISREG(st.st_mode)) return PathKind::File;
    if (S_ISDIR(st.st_mode)) return PathKind::Folder;
    if (S_ISLNK(st.st_mode)) return PathKind::Link;
    if (S_ISFIFO(st.st_mode)) return PathKind::Pipe;
    if (S_ISSOCK(st.st_mode)) return PathKind::Socket;
    return PathKind::Device;
}

bool PosixFileSystem::IsReadOnly(const Text& path) const noexcept {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

std::optional<std::string> PosixFileSystem::ReadStart(const Text& path,
                                                      std::size_t count) const noexcept {
    // Not blocking: a pipe put in the file's place meanwhile is refused, not waited on.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> start;
    struct stat st {};
    try {
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
            std::string bytes(count, '\0');
            std::size_t have = 0;
            bool failed = false;
            while (have < count) {
                const ssize_t got = ::read(fd, bytes.data() + have, count - have);
                if (got < 0 && errno == EINTR) continue;
                failed = got < 0;
                if (got <= 0) break;
                have += static_cast<std::size_t>(got);
            }
            if (!failed) start = bytes.substr(0, have);
        }
    } catch (...) {
        start.reset();  // out of memory for the bytes
    }
    ::close(fd);
    return start;
}

bool PosixFileSystem::ProcessHasEnded(std::int64_t processId) const noexcept {
    // Another user's live process refuses the signal with EPERM: it is running.
    if (processId <= 0 || processId > std::numeric_limits<pid_t>::max()) return true;
    return ::kill(static_cast<pid_t>(processId), 0) != 0 && errno == ESRCH;
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
