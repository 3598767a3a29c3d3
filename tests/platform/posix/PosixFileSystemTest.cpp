#include "platform/posix/PosixFileSystem.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "tests/platform/posix/OnDiskTree.h"

namespace pendrel {
namespace {

TEST(PosixFileSystem, ReadsTimesAndSizesAndNothingForWhatIsNotThere) {
    posixtest::OnDiskTree t;
    const posix::PosixFileSystem files;
    const Text a = t.File("a.doc", "four"), empty = t.File("empty.doc", "");
    t.Folder("dir");
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    ASSERT_TRUE(files.ModificationTime(a).has_value());
    EXPECT_LE(std::abs(*files.ModificationTime(a) - now), 600);
    EXPECT_EQ(files.FileSize(a), 4u);
    EXPECT_EQ(files.FileSize(empty), 0u);
    EXPECT_TRUE(files.ModificationTime(t.Path("dir")).has_value());
    EXPECT_FALSE(files.FileSize(t.Path("dir")).has_value()) << "a folder has no file size";
    // Missing, empty (never the current folder) and in a folder that is not there.
    for (const Text& path : {t.Path("gone.doc"), Text(), t.Path("nowhere/a.doc")}) {
        EXPECT_FALSE(files.ModificationTime(path).has_value()) << path;
        EXPECT_FALSE(files.FileSize(path).has_value()) << path;
    }
}

TEST(PosixFileSystem, RenamesOverAFileAndDeletesOrSaysWhyNot) {
    posixtest::OnDiskTree t;
    posix::PosixFileSystem files;
    const Text a = t.File("a.pdf", "new!"), b = t.File(".b.pdf", "older");
    files.RenameFile(b, a);
    EXPECT_EQ(files.FileSize(a), 5u) << "what was at the name is replaced";
    EXPECT_FALSE(files.FileSize(b).has_value());
    for (const auto& [from, to] : std::vector<std::pair<Text, Text>>{
             {b, a}, {a, t.Path("nowhere/a.pdf")}, {Text(), a}, {a, Text()}}) {
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
