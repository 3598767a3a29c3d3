#include "platform/posix/PosixOutputFolders.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace pendrel::posix {
namespace {

bool IsFolder(const Text& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool PosixOutputFolders::Make(const Text& folder, Text& error) {
    if (folder.empty() || IsFolder(folder)) return true;
    // Each folder from the top down, so that a step that is a file is named as the problem.
    for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
        const Text part = folder.substr(0, slash);
        if (::mkdir(part.c_str(), 0777) != 0 && !(errno == EEXIST && IsFolder(part))) {
            error =
                errno == EEXIST ? part + " is not a folder" : part + ": " + std::strerror(errno);
            return false;
        }
        if (slash == Text::npos) return true;
    }
}

std::optional<std::int64_t> PosixOutputFolders::ModifiedNanoseconds(
    const Text& path) const noexcept {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

}  // namespace pendrel::posix
