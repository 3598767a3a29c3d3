#include "platform/office/pool/DocumentCopy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/office/pool/PoolPolicy.h"

namespace pendrel::office {
namespace {

// Between slices the copy looks at its deadline and whether it is to stop.
constexpr std::uint64_t CopySlice = 8ull * 1024 * 1024;

FileIdentity IdentityOfStat(const struct stat& info) {
    return {info.st_dev,
            info.st_ino,
            static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec),
            info.st_mtim.tv_nsec,
            static_cast<std::int64_t>(info.st_ctim.tv_sec),
            info.st_ctim.tv_nsec};
}

DocumentCopy Failure(DocumentCopy::Status status, int error) {
    DocumentCopy copy;
    copy.status = status;
    copy.reason = std::strerror(error);
    return copy;
}

// Why the open file may not be copied, or nothing.
std::optional<DocumentCopy> Refusal(int fd, const struct stat& info) {
    if (!S_ISREG(info.st_mode)) return DocumentCopy{DocumentCopy::Status::NotAFile, {}, {}, {}};
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (const FileKind kind = SniffBytes(size, PositionalReader(fd)); kind != FileKind::Word)
        return DocumentCopy{DocumentCopy::Status::NotWord, {}, kind, {}};
    if (TooLargeForWord(size)) return DocumentCopy{DocumentCopy::Status::TooLarge, {}, {}, {}};
    return std::nullopt;
}

DocumentCopy::Status StatusOfCopyError(int error) {
    switch (error) {
        case ENOSPC:
        case EDQUOT:
            return DocumentCopy::Status::NoSpace;
        case ETIMEDOUT:
            return DocumentCopy::Status::TimedOut;
        case ECANCELED:
            return DocumentCopy::Status::Stopped;
        case EIO:  // a read that fails part-way (a failing disk, a vanished share)
            return DocumentCopy::Status::Unreadable;
        default:
            return DocumentCopy::Status::Failed;
    }
}

}  // namespace

bool CopyBytes(int in, int out, std::uint64_t size, std::chrono::steady_clock::time_point deadline,
               std::stop_token stop) {
    std::uint64_t left = size;
    while (left > 0) {
        if (stop.stop_requested()) {
            errno = ECANCELED;
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            errno = ETIMEDOUT;
            return false;
        }
        const ssize_t sent = ::sendfile(out, in, nullptr, std::min(left, CopySlice));
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0) return false;
        if (sent == 0) {  // the file became shorter while it was copied
            errno = EIO;
            return false;
        }
        left -= static_cast<std::uint64_t>(sent);
    }
    return true;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return IdentityOfStat(info);
}

DocumentCopy CopyDocument(const std::string& source, const std::string& target,
                          std::chrono::steady_clock::time_point deadline, std::stop_token stop) {
    // Never blocks on a pipe or a device that merely carries a document's name.
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (in < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return Failure(missing ? DocumentCopy::Status::Missing : DocumentCopy::Status::Unreadable,
                       error);
    }
    struct stat info {};
    if (::fstat(in, &info) != 0) {
        const int error = errno;
        ::close(in);
        return Failure(DocumentCopy::Status::Unreadable, error);
    }
    if (auto refused = Refusal(in, info)) {
        ::close(in);
        return *refused;
    }
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return Failure(
            error == ENOSPC ? DocumentCopy::Status::NoSpace : DocumentCopy::Status::Failed, error);
    }
    bool copied = CopyBytes(in, out, static_cast<std::uint64_t>(info.st_size), deadline, stop);
    int error = copied ? 0 : errno;
    if (::close(out) != 0 && copied) {
        copied = false;
        error = errno;
    }
    ::close(in);
    if (copied) return {DocumentCopy::Status::Copied, IdentityOfStat(info), FileKind::Word, {}};
    ::unlink(target.c_str());
    return Failure(StatusOfCopyError(error), error);
}

}  // namespace pendrel::office
