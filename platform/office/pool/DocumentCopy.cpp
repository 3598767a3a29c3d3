#include "platform/office/pool/DocumentCopy.h"

#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace pendrel::office {
namespace {

FileIdentity IdentityOfStat(const struct stat& info) {
    return {info.st_dev, info.st_ino, static_cast<std::uint64_t>(info.st_size),
            static_cast<std::int64_t>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec};
}

DocumentCopy Failure(DocumentCopy::Status status, int error) {
    DocumentCopy copy;
    copy.status = status;
    copy.reason = std::strerror(error);
    return copy;
}

}  // namespace

bool CopyBytes(int in, int out, std::uint64_t size) {
    std::uint64_t left = size;
    while (left > 0) {
        const ssize_t sent = ::sendfile(out, in, nullptr, left);
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

DocumentCopy CopyDocument(const std::string& source, const std::string& target) {
    // Never blocks on a pipe or a device that merely carries a document's name.
    const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (in < 0) {
        const int error = errno;
        const bool missing = error == ENOENT || error == ENOTDIR;
        return Failure(missing ? DocumentCopy::Status::Missing : DocumentCopy::Status::Unreadable,
                       error);
    }
    struct stat info {};
    if (::fstat(in, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(in);
        return {DocumentCopy::Status::NotAFile, {}, "not a file"};
    }
    const int out = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return Failure(
            error == ENOSPC ? DocumentCopy::Status::NoSpace : DocumentCopy::Status::Failed, error);
    }
    bool copied = CopyBytes(in, out, static_cast<std::uint64_t>(info.st_size));
    int error = copied ? 0 : errno;
    if (::close(out) != 0 && copied) {
        copied = false;
        error = errno;
    }
    ::close(in);
    if (copied) return {DocumentCopy::Status::Copied, IdentityOfStat(info), {}};
    ::unlink(target.c_str());
    if (error == ENOSPC || error == EDQUOT) return Failure(DocumentCopy::Status::NoSpace, error);
    // A read that fails part-way (a failing disk, a vanished share) is the source's.
    if (error == EIO) return Failure(DocumentCopy::Status::Unreadable, error);
    return Failure(DocumentCopy::Status::Failed, error);
}

}  // namespace pendrel::office
