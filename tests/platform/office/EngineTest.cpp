// The real helper in its sandbox: network and mount namespaces of its own, the user's folders
// out of its sight, and nothing left in the temporary folder once the engine has gone.
#include <gtest/gtest.h>

#include "tests/platform/office/OfficeTestSupport.h"
#include "tests/support/TestDocuments.h"

namespace pendrel::office::testing {
namespace {

TEST(Engine, HelpersWorkInASandboxAndLeaveNoTemporaryFiles) {
    TempFolder temporary, folder;
    ::setenv("TMPDIR", temporary.Path().c_str(), 1);
    {
        BatchRig rig(RealHelper(), 2);
        rig.engine.WarmUp();
        rig.Queue({CopyTo(pendrel::testing::DocumentPath("pages"), folder / "a.doc")});
        rig.Convert();
        ASSERT_EQ(rig.Statuses(), std::vector<Text>{"Done"});
        const auto pids = rig.engine.HelperPids();
        ASSERT_EQ(pids.size(), 2u);
        for (const int pid : pids) {
            const std::string proc = "/proc/" + std::to_string(pid);
            for (const std::string ns : {"/ns/net", "/ns/mnt"})
                EXPECT_NE(std::filesystem::read_symlink(proc + ns),
                          std::filesystem::read_symlink("/proc/self" + ns))
                    << ns;
            EXPECT_FALSE(std::filesystem::exists(proc + "/root" + folder.Path()));
            // Only what rendering needs: no other process, no system folder beyond it.
            for (const char* hidden : {"/proc/1", "/opt", "/usr/share/pixmaps", "/usr/bin",
                                       "/etc/passwd", "/sys/kernel", "/dev/shm"})
                EXPECT_FALSE(std::filesystem::exists(proc + "/root" + hidden)) << hidden;
            for (const char* shown : {"/usr/lib/libreoffice/program", "/etc/fonts", "/dev/null"})
                EXPECT_TRUE(std::filesystem::exists(proc + "/root" + shown)) << shown;
        }
        EXPECT_FALSE(std::filesystem::is_empty(temporary.Path())) << "the spool lives in TMPDIR";
    }
    ::unsetenv("TMPDIR");
    EXPECT_TRUE(std::filesystem::is_empty(temporary.Path())) << "no spool, no LibreOffice files";
}

}  // namespace
}  // namespace pendrel::office::testing
