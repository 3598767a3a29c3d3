#include "platform/office/helper/Sandbox.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace pendrel::office {
namespace {

namespace fs = std::filesystem;

// On a merged /usr these are links into it, kept so that the paths through them still lead
// where they did.
constexpr const char* TopLevelLinks[] = {"/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"};

std::string Failed(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

constexpr int Namespaces = CLONE_NEWNS | CLONE_NEWNET | CLONE_NEWIPC;

// Enters a user namespace with the same ids inside, so files are made as they would be
// outside.
bool EnterUserNamespace(int alsoNew) {
    const uid_t uid = ::getuid();
    const gid_t gid = ::getgid();
    return ::unshare(CLONE_NEWUSER | alsoNew) == 0 && WriteFile("/proc/self/setgroups", "deny") &&
           WriteFile("/proc/self/uid_map",
                     std::to_string(uid) + " " + std::to_string(uid) + " 1") &&
           WriteFile("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1");
}

// Whether a user namespace made here is of use: one may be made and yet carry no right to
// mount (AppArmor's restriction of unprivileged user namespaces). Tried in a child, since a
// user namespace once entered cannot be left.
bool UserNamespaceWorks() {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(EnterUserNamespace(CLONE_NEWNS) &&
                        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0
                    ? 0
                    : 1);
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A namespace of our own for users (where unprivileged processes may make one), mounts, the
// network and System V IPC; a process that may not make a user namespace but has the right to
// mount (root) goes without one.
std::string Unshare(bool withUserNamespace) {
    if (withUserNamespace && UserNamespaceWorks())
        return EnterUserNamespace(Namespaces) ? "" : Failed("unshare");
    if (::unshare(Namespaces) == 0) return {};
    return Failed("unshare");
}

bool MakeFolders(const std::string& path) {
    std::error_code error;
    fs::create_directories(path, error);
    return !error;
}

// Flags the kernel keeps on a mount made visible again: they must be repeated when it is
// made read-only.
unsigned long LockedFlags(const std::string& path) {
    struct statvfs info {};
    if (::statvfs(path.c_str(), &info) != 0) return 0;
    unsigned long flags = 0;
    if (info.f_flag & ST_NOSUID) flags |= MS_NOSUID;
    if (info.f_flag & ST_NODEV) flags |= MS_NODEV;
    if (info.f_flag & ST_NOEXEC) flags |= MS_NOEXEC;
    return flags;
}

// Shows path at the same place in the view, without what is mounted below it (which includes
// the view itself, when path holds it).
std::string Show(const std::string& newRoot, const std::string& path, bool writable) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error) return {};  // what is not there is not shown
    const std::string target = newRoot + path;
    if (fs::is_directory(status)) {
        if (!MakeFolders(target)) return Failed("making " + target);
    } else {
        if (!MakeFolders(fs::path(target).parent_path()) ||
            (!fs::exists(target) && !WriteFile(target, "")))
            return Failed("making " + target);
    }
    if (::mount(path.c_str(), target.c_str(), nullptr, MS_BIND, nullptr) != 0)
        return Failed("showing " + path);
    if (!writable && ::mount(nullptr, target.c_str(), nullptr,
                             MS_BIND | MS_REMOUNT | MS_RDONLY | LockedFlags(path), nullptr) != 0)
        return Failed("making " + path + " read-only");
    return {};
}

std::string Link(const std::string& newRoot, const char* path) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(path, error))) return {};
    fs::create_symlink(fs::read_symlink(path, error), newRoot + path, error);
    return error ? "linking " + std::string(path) + ": " + error.message() : std::string();
}

std::string BuildView(const SandboxView& view) {
    const std::string& root = view.newRoot;
    if (!MakeFolders(root)) return Failed("making " + root);
    if (::mount("tmpfs", root.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "mode=0755,size=16m") != 0)
        return Failed("making the view");
    std::string why;
    for (const char* link : TopLevelLinks)
        if (!(why = Link(root, link)).empty()) return why;
    for (const std::string& path : view.readOnly)
        if (!(why = Show(root, path, false)).empty()) return why;
    for (const std::string& path : view.writable)
        if (!(why = Show(root, path, true)).empty()) return why;
    // An empty place for temporary files, and the home folder, empty, so that nothing looks
    // for it in vain.
    if (!MakeFolders(root + "/tmp") || ::chmod((root + "/tmp").c_str(), 01777) != 0)
        return Failed("making /tmp");
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] == '/')
        MakeFolders(root + home);
    return {};
}

std::string SwitchRoot(const std::string& newRoot) {
    const std::string old = newRoot + "/.old-root";
    if (!MakeFolders(old)) return Failed("making " + old);
    if (::syscall(SYS_pivot_root, newRoot.c_str(), old.c_str()) != 0) return Failed("pivot_root");
    if (::chdir("/") != 0) return Failed("chdir");
    if (::umount2("/.old-root", MNT_DETACH) != 0) return Failed("leaving the old view");
    ::rmdir("/.old-root");
    return {};
}

}  // namespace

std::string EnterSandbox(const SandboxView& view) {
    std::string why = Unshare(view.userNamespace);
    if (!why.empty()) return why;
    // Nothing mounted from here on is seen outside.
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return Failed("making the mounts private");
    why = BuildView(view);
    if (why.empty()) why = SwitchRoot(view.newRoot);
    if (!why.empty()) ::umount2(view.newRoot.c_str(), MNT_DETACH);
    return why;
}

}  // namespace pendrel::office
