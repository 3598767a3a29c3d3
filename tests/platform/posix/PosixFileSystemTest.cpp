#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pendrel
