#include "platform/office/helper/Landlock.h"

#include <fcntl.h>
#include <linux/landlock.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace pendrel::office {
namespace {

// The rights of later versions than the system's headers know.
constexpr std::uint64_t Truncate = 1ULL << 14;                // version 3
constexpr std::uint64_t IoctlDev = 1ULL << 15;                // version 5
constexpr std::uint64_t ScopeAbstractUnixSocket = 1ULL << 0;  // version 6
constexpr std::uint64_t ScopeSignal = 1ULL << 1;              // version 6
constexpr std::uint64_t NetBindTcp = 1ULL << 0;               // version 4
constexpr std::uint64_t NetConnectTcp = 1ULL << 1;            // version 4

// The ruleset's attributes as version 6 has them; older kernels are given its first part.
struct RulesetAttributes {
    std::uint64_t handledFs = 0;
    std::uint64_t handledNet = 0;
    std::uint64_t scoped = 0;
};

constexpr std::uint64_t ReadRights = LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_READ_DIR;

// Every file-system right the kernel of that version knows: what it knows, it refuses unless a
// rule allows it.
std::uint64_t FileRights(int abi) {
    std::uint64_t rights = (LANDLOCK_ACCESS_FS_MAKE_SYM << 1) - 1;  // version 1
    if (abi >= 2) rights |= LANDLOCK_ACCESS_FS_REFER;
    if (abi >= 3) rights |= Truncate;
    if (abi >= 5) rights |= IoctlDev;
    return rights;
}

std::string Failed(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// What is not there is not allowed, and no reason to fail.
std::string Allow(int ruleset, const std::string& path, std::uint64_t rights) {
    const Fd target(::open(path.c_str(), O_PATH | O_CLOEXEC));
    if (target.get() < 0) return errno == ENOENT ? std::string() : Failed("opening " + path);
    // A file takes only the rights of files.
    struct stat info {};
    if (::fstat(target.get(), &info) == 0 && !S_ISDIR(info.st_mode))
        rights &= LANDLOCK_ACCESS_FS_READ_FILE | LANDLOCK_ACCESS_FS_WRITE_FILE | Truncate |
                  IoctlDev | LANDLOCK_ACCESS_FS_EXECUTE;
    landlock_path_beneath_attr rule{rights, target.get()};
    if (::syscall(SYS_landlock_add_rule, ruleset, LANDLOCK_RULE_PATH_BENEATH, &rule, 0) != 0)
        return Failed("allowing " + path);
    return {};
}

}  // namespace

int LandlockAbi() {
    const long abi =
        ::syscall(SYS_landlock_create_ruleset, nullptr, 0, LANDLOCK_CREATE_RULESET_VERSION);
    return abi > 0 ? static_cast<int>(abi) : 0;
}

std::string RestrictFileAccess(const FileAccess& access) {
    const int abi = LandlockAbi();
    if (abi == 0) return "Landlock is not available in this kernel";
    RulesetAttributes attributes;
    attributes.handledFs = FileRights(abi);
    std::size_t size = sizeof attributes.handledFs;
    if (abi >= 4) {
        attributes.handledNet = NetBindTcp | NetConnectTcp;
        size += sizeof attributes.handledNet;
    }
    if (abi >= 6) {
        attributes.scoped = ScopeAbstractUnixSocket | ScopeSignal;
        size += sizeof attributes.scoped;
    }
    const Fd ruleset(
        static_cast<int>(::syscall(SYS_landlock_create_ruleset, &attributes, size, 0)));
    if (ruleset.get() < 0) return Failed("creating the Landlock rules");
    std::string why;
    for (const std::string& path : access.readable)
        if (!(why = Allow(ruleset.get(), path, ReadRights)).empty()) return why;
    const std::uint64_t writeRights =
        attributes.handledFs & ~(LANDLOCK_ACCESS_FS_EXECUTE | LANDLOCK_ACCESS_FS_MAKE_CHAR |
                                 LANDLOCK_ACCESS_FS_MAKE_BLOCK);
    for (const std::string& path : access.writable)
        if (!(why = Allow(ruleset.get(), path, writeRights)).empty()) return why;
    if (::syscall(SYS_landlock_restrict_self, ruleset.get(), 0) != 0)
        return Failed("applying the Landlock rules");
    return {};
}

}  // namespace pendrel::office
