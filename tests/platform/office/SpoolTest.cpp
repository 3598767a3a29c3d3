// The finished PDF's move from the spool to its document's folder, which may be on another file
// system: copied beside the target, then renamed over it, so the target is whole or untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/office/pool/SpoolFolder.h"
#include "tests/platform/office/OfficeTestSupport.h"

namespace pendrel::office::testing {
namespace {

std::string SharedMemoryFile(const std::string& name) {
    return "/dev/shm/pendrel-spool-test-" + std::to_string(::getpid()) + "-" + name;
}

TEST(Spool, APdfMovesIntoPlaceAcrossFileSystemsWholeAndReadable) {
    TempFolder folder;
    struct stat here {
    }, shm{};
    if (::stat(folder.Path().c_str(), &here) != 0 || ::stat("/dev/shm", &shm) != 0 ||
        here.st_dev == shm.st_dev)
        GTEST_SKIP() << "no second file system at /dev/shm";
    const std::string bytes(300000, 'p');
    const std::string from = SharedMemoryFile("a.pdf"), target = folder / "a.pdf";
    WriteFile(from, bytes);
    WriteFile(target, "old");
    std::string error;
    ASSERT_TRUE(MoveIntoPlace(from, target, error)) << error;
    EXPECT_EQ(ReadFile(target), bytes);
    struct stat info {};
    ASSERT_EQ(::stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0644u);
    EXPECT_FALSE(std::filesystem::exists(from));
    EXPECT_EQ(FilesBelow(folder.Path()), std::vector<std::string>{"a.pdf"}) << "no copy left";

    // A folder that cannot take it: the spool file goes, nothing is written.
    WriteFile(from, bytes);
    EXPECT_FALSE(MoveIntoPlace(from, folder / "missing/b.pdf", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(std::filesystem::exists(from));
    EXPECT_EQ(FilesBelow(folder.Path()), std::vector<std::string>{"a.pdf"});
}

}  // namespace
}  // namespace pendrel::office::testing
