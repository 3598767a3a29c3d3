#include "platform/posix/PosixDirectoryLister.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "queue/AddFolder.h"
#include "tests/fakes/FakeControls.h"
#include "tests/platform/posix/OnDiskTree.h"

namespace pendrel {
namespace {

using posixtest::OnDiskTree;
using Texts = std::vector<Text>;

// Each entry listed as "name attributes", in the lister's order.
Texts List(DirectoryLister& lister, const Text& folder, const Text& pattern, std::uint32_t mask) {
    Texts out;
    const auto listing = lister.List(folder, pattern, mask);
    for (const auto& e : listing.value())
        out.push_back(e.name + " " + std::to_string(e.attributes));
    return out;
}

// Listed as Windows lists a folder: by name without regard to case, hidden, system and folder
// entries only when the mask asks for them, links followed; a broken link never.
// Add Folder on it takes the documents in that order, entering each folder once (linked.doc
// and x.doc are one). A file has no folder identity.
TEST(PosixDirectoryLister, ListsWithTheWindowsRulesInCaseBlindNameOrderAndFollowsLinks) {
    OnDiskTree t;
    for (const char* rel : {"a.doc", "REPORT.DOC", ".h.doc", "a.docx", "x.doc/in.doc", ".hid/y",
                            "_x.doc", "Bug45877.doc", "sub/z.doc", "sub/A.doc", "~$b.doc"})
        t.File(rel);
    t.Link("linked.doc", "x.doc");
    t.Link("sub/back", "");
    ASSERT_EQ(::symlink("nowhere", t.Path("broken.doc").c_str()), 0);
    posix::PosixDirectoryLister lister;

    EXPECT_EQ(
        List(lister, t.Root() + "/", "*.doc", 6),
        (Texts{".h.doc 2", "a.doc 0", "Bug45877.doc 0", "REPORT.DOC 0", "_x.doc 0", "~$b.doc 0"}));
    EXPECT_EQ(List(lister, t.Root(), "*", 16),
              (Texts{". 16", ".. 16", "a.doc 0", "a.docx 0", "Bug45877.doc 0", "linked.doc 16",
                     "REPORT.DOC 0", "sub 16", "x.doc 16", "_x.doc 0", "~$b.doc 0"}));
    EXPECT_FALSE(lister.List(t.Path("missing"), "*", 16).has_value());
    EXPECT_FALSE(lister.FolderIdentity(t.Path("a.doc")).has_value());
    EXPECT_FALSE(lister.FolderIdentity(t.Path("broken.doc")).has_value());

    fakes::FakeListView list;
    EXPECT_TRUE(AddFolder::QueueFolder(lister, '/', t.Root(), list).empty());
    const Text r = t.Root() + "/";
    EXPECT_EQ(list.Texts(),
              (Texts{r + ".h.doc", r + "a.doc", r + "Bug45877.doc", r + "REPORT.DOC", r + "_x.doc",
                     r + "linked.doc/in.doc", r + "sub/A.doc", r + "sub/z.doc"}));
}

// A name that is not UTF-8, a path longer than the system takes, a pipe or a link to one is
// listed with its problem, and Add Folder names it, its bytes shown, instead of dropping it.
TEST(PosixDirectoryLister, ReportsWhatCannotBeQueuedInsteadOfDroppingIt) {
    OnDiskTree t;
    t.File("ok.doc");
    ASSERT_EQ(::mkfifo(t.Path("pipe.doc").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("pipe.doc", t.Path("to-pipe.doc").c_str()), 0);
    t.File("\xFF\xFE.doc");
    Text deep = "d";
    while (t.Path(deep).size() + 201 < PATH_MAX - 10) deep += "/" + Text(200, 'd');
    t.File(deep + "/short.doc");
    // Made from the folder's descriptor: its full path is too long to be given.
    const Text longName = Text(250, 'n') + ".doc";
    const int folder = ::open(t.Path(deep).c_str(), O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    ::close(::openat(folder, longName.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));

    posix::PosixDirectoryLister lister;
    fakes::FakeListView list;
    const auto notAdded = AddFolder::QueueFolder(lister, '/', t.Root(), list);
    ::unlinkat(folder, longName.c_str(), 0);
    ::close(folder);
    EXPECT_EQ(list.Texts(), (Texts{t.Path("ok.doc"), t.Path(deep + "/short.doc")}));
    Texts problems;
    for (const auto& each : notAdded) problems.push_back(each.path + " " + each.problem);
    EXPECT_EQ(problems, (Texts{t.Path("pipe.doc it is a named pipe, not a file"),
                               t.Path("to-pipe.doc it is a named pipe, not a file"),
                               t.Path("\\xFF\\xFE.doc its name is not valid text"),
                               t.Path(deep + "/" + longName) +
                                   " its path is longer than the system allows (" +
                                   std::to_string(PATH_MAX - 1) + " bytes)"}));
}

}  // namespace
}  // namespace pendrel
