// The helper's layers below the namespaces, each applied in a child process of its own (they
// cannot be undone): what Landlock lets the renderer read, write and start, and what sockets
// the seccomp filter lets it make. The namespaces' view, and all layers at work on documents,
// are tested through the window (tests/programs/linux/IsolationTest.cpp).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <functional>

#include "platform/office/helper/Landlock.h"
#include "platform/office/helper/SeccompFilter.h"
#include "tests/platform/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

// Runs check in a child with no_new_privs set; the check's failures are the child's exit
// code, the number of the first check that did not hold.
int InChild(const std::function<int()>& check) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

// The error a call failed with, or 0 when it succeeded.
int ErrorOf(int result) {
    return result < 0 ? errno : 0;
}

int OpenError(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0600);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

TEST(IsolationLayers, LandlockShowsOnlyWhatItWasGivenAndStartsNoProgram) {
    if (LandlockAbi() == 0) GTEST_SKIP() << "this kernel offers no Landlock";
    TempFolder readable, writable, elsewhere;
    WriteFile(readable / "font.ttf", "font");
    WriteFile(elsewhere / "secret.ppm", "secret");
    const int failed = InChild([&] {
        if (!RestrictFileAccess({{readable.Path()}, {writable.Path()}}).empty()) return 1;
        if (OpenError(readable / "font.ttf", O_RDONLY) != 0) return 2;
        if (OpenError(readable / "font.ttf", O_WRONLY) != EACCES) return 3;
        if (OpenError(readable / "new", O_WRONLY | O_CREAT) != EACCES) return 4;
        if (OpenError(writable / "new", O_RDWR | O_CREAT) != 0) return 5;
        if (OpenError(elsewhere / "secret.ppm", O_RDONLY) != EACCES) return 6;
        // The same file through the process's root in /proc is the same file.
        if (OpenError("/proc/self/root" + (elsewhere / "secret.ppm"), O_RDONLY) != EACCES) return 7;
        if (OpenError("/etc/hostname", O_RDONLY) != EACCES) return 8;
        char* const argv[] = {const_cast<char*>("true"), nullptr};
        if (ErrorOf(::execv("/bin/true", argv)) != EACCES) return 9;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

TEST(IsolationLayers, TheSeccompFilterLetsOnlyLocalSocketsBeMadeAndNoneBeConnectedTo) {
    const int failed = InChild([] {
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) return 1;
        if (!RefuseNetwork().empty()) return 2;
        // The channel made before goes on working.
        if (::write(pair[0], "x", 1) != 1) return 3;
        if (ErrorOf(::socket(AF_INET, SOCK_STREAM, 0)) != EAFNOSUPPORT) return 4;
        if (ErrorOf(::socket(AF_INET6, SOCK_DGRAM, 0)) != EAFNOSUPPORT) return 5;
        if (ErrorOf(::socket(AF_NETLINK, SOCK_RAW, 0)) != EAFNOSUPPORT) return 6;
        const int local = ::socket(AF_UNIX, SOCK_STREAM, 0);
        if (local < 0) return 7;
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "/run/dbus/system_bus_socket");
        if (ErrorOf(::connect(local, reinterpret_cast<sockaddr*>(&address), sizeof address)) !=
            EACCES)
            return 8;
        if (ErrorOf(::bind(local, reinterpret_cast<sockaddr*>(&address), sizeof address)) != EACCES)
            return 9;
        return 0;
    });
    EXPECT_EQ(failed, 0);
}

}  // namespace
}  // namespace pendrel::office::testing
