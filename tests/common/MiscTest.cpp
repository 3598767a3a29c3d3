#include "common/Misc.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeDesktop.h"

namespace pendrel {
namespace {

TEST(Misc, AnEmptyPathIsNoFileWhateverTheFileSystemSays) {
    fakes::FakeFiles files;
    files.files[""] = 1;  // as a system that takes "" for the current folder would answer
    files.files["/a"] = 0;
    EXPECT_FALSE(Misc::FileExists(files, ""));
    EXPECT_TRUE(Misc::FileExists(files, "/a"));
    EXPECT_FALSE(Misc::FileExists(files, "/b"));
}

}  // namespace
}  // namespace pendrel
