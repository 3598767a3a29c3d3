#include "platform/office/helper/ProfileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

namespace pendrel::office {
namespace {

// A pool of helpers, and the helpers that replace them while they still end.
constexpr int MostProfiles = 32;

bool TryHold(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return false;
    const int fd = ::open((folder + "/pendrel.lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;  // held until the process ends
    ::close(fd);
    return false;
}

}  // namespace

std::string LockProfile(const std::string& base) {
    for (int n = 1; n <= MostProfiles; ++n) {
        const std::string folder = n == 1 ? base : base + "-" + std::to_string(n);
        if (TryHold(folder)) return folder;
    }
    return base;
}

}  // namespace pendrel::office
