#include "app/Misc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/posix/PosixFileSystem.h"
#include "tests/fakes/FakeControls.h"
#include "tests/fakes/FakeDesktop.h"

namespace pendrel {
namespace {

TEST(CenterForm, CentresInSinglePrecisionWithoutRounding) {
    fakes::FakeScreen screen;  // 1024 x 768 pixels
    fakes::FakeWindow window;
    window.width = 9000;
    window.height = 6000;
    Misc::CenterForm(window, screen);
    EXPECT_EQ(window.left, 3180.0f);
    EXPECT_EQ(window.top, 2760.0f);
    EXPECT_EQ(window.writes, (std::vector<char>{'L', 'T'}));

    window.width = 9001;
    Misc::CenterForm(window, screen);
    EXPECT_EQ(window.left, 3179.5f);
}

TEST(CenterForm, WindowLargerThanScreenGetsNegativePosition) {
    fakes::FakeScreen screen;
    fakes::FakeWindow window;
    window.width = 16000;
    window.height = 12001;
    Misc::CenterForm(window, screen);
    EXPECT_EQ(window.left, -320.0f);
    EXPECT_EQ(window.top, -240.5f);
}

TEST(FileExists, TrueOnlyForWhatTheFileSystemCanDate) {
    posix::PosixFileSystem fs;
    const auto dir = std::filesystem::temp_directory_path() / "pendrel-misc-test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "present.doc";
    std::ofstream(file) << "x";

    EXPECT_TRUE(Misc::FileExists(fs, file.string()));
    EXPECT_FALSE(Misc::FileExists(fs, ""));
    EXPECT_FALSE(Misc::FileExists(fs, (dir / "absent.doc").string()));
    EXPECT_FALSE(Misc::FileExists(fs, (dir / "no-such-folder" / "a.doc").string()));
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace pendrel
