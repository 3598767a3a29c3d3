#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "tests/platform/posix/OnDiskTree.h"

namespace pendrel {
namespace {

// What is not there (an empty path is never the current folder) has no time or size; a rename
// replaces what is at the new name; what cannot be renamed or deleted, also into another file
// system (the memory one, where there is one), says why and leaves the file where it was.
TEST(PosixFileSystem, ReadsRenamesAndDeletesOrSaysWhyNot) {
    posixtest::OnDiskTree t;
    posix::PosixFileSystem files;
    const Text a = t.File("a.pdf", "new!"), b = t.File(".b.pdf", "older");
    t.Folder("dir");
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    EXPECT_LE(std::abs(files.ModificationTime(a).value_or(0) - now), 600);
    EXPECT_EQ(files.FileSize(a), 4u);
    EXPECT_EQ(files.FileSize(t.File("empty.doc", "")), 0u);
    EXPECT_TRUE(files.ModificationTime(t.Path("dir")).has_value());
    EXPECT_FALSE(files.FileSize(t.Path("dir")).has_value()) << "a folder has no file size";
    for (const Text& path : {t.Path("gone.doc"), Text(), t.Path("nowhere/a.doc")}) {
        EXPECT_FALSE(files.ModificationTime(path).has_value()) << path;
        EXPECT_FALSE(files.FileSize(path).has_value()) << path;
    }

    files.RenameFile(b, a);
    EXPECT_EQ(files.FileSize(a), 5u) << "what was at the name is replaced";
    EXPECT_FALSE(files.FileSize(b).has_value());
    struct stat here {
    }, shm{};
    const Text away = ::stat(t.Root().c_str(), &here) == 0 && ::stat("/dev/shm", &shm) == 0 &&
                              here.st_dev != shm.st_dev
                          ? "/dev/shm/pendrel-test-" + std::to_string(::getpid()) + ".pdf"
                          : Text();
    for (const auto& [from, to] : std::vector<std::pair<Text, Text>>{
             {b, a}, {a, t.Path("nowhere/a.pdf")}, {Text(), a}, {a, Text()}, {a, away}}) {
        EXPECT_THROW(files.RenameFile(from, to), SystemError) << from << " -> " << to;
    }
    EXPECT_EQ(files.FileSize(a), 5u);
    files.DeleteFile(a);
    EXPECT_FALSE(files.FileSize(a).has_value());
    try {
        files.DeleteFile(a);
        FAIL() << "a file that is not there cannot be deleted";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.Number(), ENOENT);
        EXPECT_NE(e.Description().find(a), Text::npos) << "the message names the file";
    }
}

// What is at a path, links followed or not; read-only by the mode, whoever asks (root may write
// anything); the first bytes of a regular file and of nothing else, a pipe not waited on; and
// whether a process has ended.
TEST(PosixFileSystem, TellsWhatIsAtAPathItsFirstBytesAndWhetherItsWriterHasEnded) {
    posixtest::OnDiskTree t;
    posix::PosixFileSystem files;
    const Text pdf = t.File("a.pdf", "%PDF-1.4 rest"), dir = t.Path("dir.pdf");
    t.Folder("dir.pdf");
    t.Link("dir-link.pdf", "dir.pdf");
    ASSERT_EQ(::symlink("nowhere", t.Path("broken.pdf").c_str()), 0);
    ASSERT_EQ(::mkfifo(t.Path("pipe.pdf").c_str(), 0600), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const Text socketPath = t.Path("socket.pdf");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);

    const std::vector<std::pair<Text, PathKind>> kinds{{pdf, PathKind::File},
                                                       {dir, PathKind::Folder},
                                                       {t.Path("dir-link.pdf"), PathKind::Link},
                                                       {t.Path("broken.pdf"), PathKind::Link},
                                                       {t.Path("pipe.pdf"), PathKind::Pipe},
                                                       {socketPath, PathKind::Socket},
                                                       {"/dev/null", PathKind::Device},
                                                       {t.Path("gone.pdf"), PathKind::Missing},
                                                       {Text(), PathKind::Missing}};
    for (const auto& [path, kind] : kinds) EXPECT_EQ(files.KindOf(path, false), kind) << path;
    EXPECT_EQ(files.KindOf(t.Path("dir-link.pdf"), true), PathKind::Folder);
    EXPECT_EQ(files.KindOf(t.Path("broken.pdf"), true), PathKind::Missing);
    ::close(sock);

    EXPECT_EQ(files.ReadStart(pdf, 5), "%PDF-");
    EXPECT_EQ(files.ReadStart(pdf, 100), "%PDF-1.4 rest");
    for (const Text& none : {dir, t.Path("pipe.pdf"), Text("/dev/null"), t.Path("gone.pdf")})
        EXPECT_FALSE(files.ReadStart(none, 5).has_value()) << none;

    EXPECT_FALSE(files.IsReadOnly(pdf));
    ASSERT_EQ(::chmod(pdf.c_str(), 0444), 0);
    EXPECT_TRUE(files.IsReadOnly(pdf));
    EXPECT_FALSE(files.IsReadOnly(t.Path("gone.pdf")));

    EXPECT_FALSE(files.ProcessHasEnded(::getpid()));
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    EXPECT_TRUE(files.ProcessHasEnded(child));
}

}  // namespace
}  // namespace pendrel
