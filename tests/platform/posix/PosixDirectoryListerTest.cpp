#include "platform/posix/PosixDirectoryLister.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <map>

#include "platform/posix/WildcardMatch.h"
#include "queue/AddFolder.h"
#include "tests/fakes/FakeControls.h"
#include "tests/platform/posix/OnDiskTree.h"

namespace pendrel {
namespace {

using posixtest::OnDiskTree;
using Texts = std::vector<Text>;

struct Listed {
    std::uint32_t attributes;
    Text problem;
    bool operator==(const Listed&) const = default;
};
using Listing = std::map<Text, Listed>;

Listing List(DirectoryLister& lister, const Text& folder, const Text& pattern, std::uint32_t mask) {
    Listing out;
    const auto listing = lister.List(folder, pattern, mask);
    for (const auto& e : listing.value()) out[e.name] = {e.attributes, e.problem};
    return out;
}

TEST(PosixDirectoryLister, ListsWithTheWindowsMaskRulesAndFollowsLinks) {
    OnDiskTree t;
    for (const char* rel : {"a.doc", "REPORT.DOC", ".h.doc", "a.docx", "x.doc/in.doc", ".hid/y"})
        t.File(rel);
    t.Link("linked.doc", "x.doc");
    ASSERT_EQ(::symlink("nowhere", t.Path("broken.doc").c_str()), 0);
    ASSERT_EQ(::mkfifo(t.Path("pipe.doc").c_str(), 0600), 0);
    posix::PosixDirectoryLister lister;

    EXPECT_EQ(List(lister, t.Root() + "/", "*.doc", 6),
              (Listing{{"a.doc", {0, ""}}, {"REPORT.DOC", {0, ""}}, {".h.doc", {2, ""}}}));
    // Folders: ordinary files always come too; a hidden folder does not; a link to a folder
    // is one; a broken link and a pipe never come.
    EXPECT_EQ(List(lister, t.Root(), "*", 16), (Listing{{".", {16, ""}},
                                                        {"..", {16, ""}},
                                                        {"a.doc", {0, ""}},
                                                        {"REPORT.DOC", {0, ""}},
                                                        {"a.docx", {0, ""}},
                                                        {"x.doc", {16, ""}},
                                                        {"linked.doc", {16, ""}}}));
    EXPECT_FALSE(lister.List(t.Path("missing"), "*", 16).has_value());

    EXPECT_EQ(lister.FolderIdentity(t.Path("linked.doc")), lister.FolderIdentity(t.Path("x.doc/")));
    EXPECT_NE(lister.FolderIdentity(t.Root()), lister.FolderIdentity(t.Path("x.doc")));
    EXPECT_FALSE(lister.FolderIdentity(t.Path("a.doc")).has_value());
    EXPECT_FALSE(lister.FolderIdentity(t.Path("broken.doc")).has_value());
}

// Add Folder on a real folder brings the documents in the order Windows lists them, folder by
// folder, not in the file system's own order.
TEST(PosixDirectoryLister, AddFolderTakesTheDocumentsInCaseBlindNameOrder) {
    OnDiskTree t;
    for (const char* rel : {"picture.doc", "Bug45877.doc", "_x.doc", "57843.doc", "b.doc",
                            "AIOOB-Tap.doc", "sub/z.doc", "sub/A.doc", "Sub2/m.doc", "~$b.doc"})
        t.File(rel);
    t.Link("sub/back", "");  // entered once only
    posix::PosixDirectoryLister lister;
    fakes::FakeListView list;
    EXPECT_TRUE(AddFolder::QueueFolder(lister, '/', t.Root(), list).empty());
    const Text r = t.Root() + "/";
    EXPECT_EQ(list.Texts(), (Texts{r + "57843.doc", r + "AIOOB-Tap.doc", r + "b.doc",
                                   r + "Bug45877.doc", r + "picture.doc", r + "_x.doc",
                                   r + "sub/A.doc", r + "sub/z.doc", r + "Sub2/m.doc"}));
}

// A folder under the tree whose path is length bytes long.
Text DeepFolder(const OnDiskTree& t, std::size_t length) {
    Text deep = t.Root();
    while (deep.size() < length)
        deep += "/" + Text(std::min<std::size_t>(200, length - deep.size() - 1), 'd');
    std::filesystem::create_directories(deep);
    return deep;
}

// A name that is not UTF-8 and a path longer than PATH_MAX are listed with their problem, and
// Add Folder names them instead of dropping them.
TEST(PosixDirectoryLister, ReportsWhatCannotBeQueuedInsteadOfDroppingIt) {
    OnDiskTree t;
    t.File("ok.doc");
    t.File("\xFF\xFE.doc");
    const Text deep = DeepFolder(t, PATH_MAX - 60);
    const Text longName = Text(60, 'n') + ".doc";  // folder, "/", name: past PATH_MAX - 1
    const int folder = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(::close(::openat(folder, longName.c_str(), O_CREAT | O_WRONLY, 0600)), 0);
    ASSERT_EQ(::mkdirat(folder, ("folder" + longName).c_str(), 0700), 0);

    posix::PosixDirectoryLister lister;
    EXPECT_EQ(List(lister, t.Root(), "*.doc", 6),
              (Listing{{"ok.doc", {0, ""}}, {"\xFF\xFE.doc", {0, "its name is not valid text"}}}));
    const Listing inDeep = List(lister, deep, "*.doc", 22);
    ASSERT_EQ(inDeep.size(), 2u);
    for (const auto& [name, listed] : inDeep)
        EXPECT_TRUE(listed.problem.starts_with("its path is longer than the system allows"));

    fakes::FakeListView list;
    const auto notAdded = AddFolder::QueueFolder(lister, '/', t.Root(), list);
    EXPECT_EQ(list.Texts(), Texts{t.Path("ok.doc")});
    Texts named;
    for (const auto& n : notAdded) named.push_back(n.path);
    EXPECT_EQ(named, (Texts{deep + "/folder" + longName + "/", t.Path("\\xFF\\xFE.doc"),
                            deep + "/" + longName}));

    ::unlinkat(folder, longName.c_str(), 0);
    ::unlinkat(folder, ("folder" + longName).c_str(), AT_REMOVEDIR);
    ::close(folder);
}

// PATH_MAX counts the terminating NUL: a path of PATH_MAX - 1 bytes is one the system takes,
// however the folder is written.
TEST(PosixDirectoryLister, TheLongestPathTheSystemTakesIsQueued) {
    OnDiskTree t;
    const Text deep = DeepFolder(t, PATH_MAX - 60);
    const Text document = t.File(deep.substr(t.Root().size() + 1) + "/" +
                                 Text(PATH_MAX - 1 - deep.size() - 1 - 4, 'n') + ".doc");
    ASSERT_EQ(document.size(), std::size_t{PATH_MAX - 1});
    ASSERT_TRUE(std::filesystem::exists(document));
    posix::PosixDirectoryLister lister;
    fakes::FakeListView list;
    const auto notAdded = AddFolder::QueueFolder(lister, '/', t.Root(), list);
    EXPECT_TRUE(notAdded.empty()) << notAdded.at(0).problem;
    EXPECT_EQ(list.ItemCount(), 1u);
}

TEST(Wildcard, StarQuestionMarkAndCaseAsTheWindowsListingDoesOnWellFormedUtf8) {
    using Pairs = std::vector<std::pair<const char*, const char*>>;
    for (auto [name, pattern] : Pairs{{"REPORT.DOC", "*.doc"},
                                      {".doc", "*.doc"},
                                      {"x.doc.doc", "*.doc"},
                                      {"\xC3\xA9.doc", "?.doc"},
                                      {"\xC3\x84pfel", "\xC3\xA4*"},
                                      {"noext", "*.*"},
                                      {"axbyc", "a*b?c"}})
        EXPECT_TRUE(posix::MatchesWildcard(name, pattern)) << name << " ~ " << pattern;
    for (auto [name, pattern] :
         Pairs{{"a.docx", "*.doc"}, {"adoc", "*.doc"}, {"ab.doc", "?.doc"}, {"abcb", "a*bc"}})
        EXPECT_FALSE(posix::MatchesWildcard(name, pattern)) << name << " ~ " << pattern;
}

}  // namespace
}  // namespace pendrel
