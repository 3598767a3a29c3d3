#include "queue/AddFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/FakeForm.h"
#include "tests/queue/FolderTrees.h"

namespace pendrel {
namespace {

using testing::InMemoryTree;
using testing::OnDiskTree;

// A main window whose folder browser picks the tree's root.
template <typename Tree>
struct Window {
    Tree& tree;
    fakes::FakeForm f{nullptr, nullptr, &tree.Lister()};
    explicit Window(Tree& t) : tree(t) { f.fileSystem.separator = tree.Separator(); }

    std::vector<Text> AddFolder() {
        f.folderBrowser.nextResults.push_back(tree.Root());
        f.check4.UserClick();
        return f.list.Texts();
    }
    std::vector<Text> Paths(std::vector<Text> rels) const {
        for (Text& rel : rels) rel = tree.Path(rel);
        return rels;
    }
};

std::vector<Text> Sorted(std::vector<Text> texts) {
    std::sort(texts.begin(), texts.end());
    return texts;
}

template <typename Tree>
class FolderScan : public ::testing::Test {
protected:
    Tree tree;
};
using Trees = ::testing::Types<InMemoryTree, OnDiskTree>;
TYPED_TEST_SUITE(FolderScan, Trees);

TYPED_TEST(FolderScan, LevelByLevelEachLevelGroupedByParent) {
    auto& t = this->tree;
    for (const char* rel : {"1.doc", "B/2.doc", "C/3.doc", "B/D/4.doc", "C/E/5.doc"}) t.File(rel);
    Window w(t);
    const auto items = w.AddFolder();
    ASSERT_EQ(items.size(), 5u);
    auto at = [&](const char* rel) {
        return std::find(items.begin(), items.end(), t.Path(rel)) - items.begin();
    };
    // The disk lists B and C in its own order; whichever comes first, its child does too.
    EXPECT_EQ(at("1.doc"), 0);
    EXPECT_EQ(std::max(at("B/2.doc"), at("C/3.doc")), 2);
    EXPECT_EQ(std::max(at("B/D/4.doc"), at("C/E/5.doc")), 4);
    EXPECT_EQ(at("B/2.doc") < at("C/3.doc"), at("B/D/4.doc") < at("C/E/5.doc"));
    for (std::size_t i = 1; i <= 5; ++i) EXPECT_EQ(w.f.list.SubItem(i, 1), "Queued");
}

TYPED_TEST(FolderScan, TildeHiddenCaseAndFolderNamedLikeADocument) {
    auto& t = this->tree;
    for (const char* rel : {"a.doc", "~$a.doc", "~report.doc", "report~.doc", "REPORT.DOC",
                            ".hidden.doc", "notes.docx", "readme.txt", "~old/x.doc",
                            ".secret/y.doc", "x.doc/z.doc", "e1/e2/deep.doc"})
        t.File(rel);
    Window w(t);
    EXPECT_EQ(Sorted(w.AddFolder()),
              Sorted(w.Paths({"a.doc", "report~.doc", "REPORT.DOC", ".hidden.doc", "~old/x.doc",
                              "x.doc/z.doc", "e1/e2/deep.doc"})));
}

TYPED_TEST(FolderScan, AHundredAndFiftyOneDocumentsInOneFolder) {
    auto& t = this->tree;
    std::vector<Text> rels;
    for (int i = 0; i < 151; ++i) rels.push_back("many/d" + std::to_string(i) + ".doc");
    for (const Text& rel : rels) t.File(rel);
    Window w(t);
    EXPECT_EQ(Sorted(w.AddFolder()), Sorted(w.Paths(rels)));
}

TYPED_TEST(FolderScan, LinksBackToAnAncestorOrToItselfAreEnteredOnce) {
    auto& t = this->tree;
    t.File("1.doc");
    t.File("B/2.doc");
    t.Link("B/back", "");
    t.Link("B/self", "B");
    Window w(t);
    EXPECT_EQ(Sorted(w.AddFolder()), Sorted(w.Paths({"1.doc", "B/2.doc"})));
}

TYPED_TEST(FolderScan, AFolderThatCannotBeListedIsSkipped) {
    auto& t = this->tree;
    for (const char* rel : {"3.doc", "ok/1.doc", "locked/2.doc", "locked/in/4.doc"}) t.File(rel);
    if (!t.MakeUnlistable("locked")) GTEST_SKIP() << "running as root: every folder reads";
    Window w(t);
    EXPECT_EQ(Sorted(w.AddFolder()), Sorted(w.Paths({"3.doc", "ok/1.doc"})));
}

TYPED_TEST(FolderScan, CancelAddsNothingAndTheSameFolderTwiceQueuesAllTwice) {
    auto& t = this->tree;
    t.File("a.doc");
    t.File("s/b.doc");
    Window w(t);
    w.f.check4.UserClick();  // the browser is cancelled
    EXPECT_EQ(w.f.list.ItemCount(), 0u);
    EXPECT_EQ(w.f.folderBrowser.lastOwner, w.f.window.hWnd());
    EXPECT_EQ(w.f.folderBrowser.lastTitle, "Please select folder to add:");

    const auto once = w.AddFolder();
    const auto twice = w.AddFolder();
    ASSERT_EQ(once.size(), 2u);
    EXPECT_EQ(twice, (std::vector<Text>{once[0], once[1], once[0], once[1]}));
}

// The in-memory lister lists in a known order, so the exact order can be checked.
TEST(FolderScanOrder, FollowsTheListingOrderOfEachFolder) {
    InMemoryTree t;
    for (const char* rel : {"1.doc", "C/3.doc", "B/2.doc", "C/E/5.doc", "B/D/4.doc"}) t.File(rel);
    Window w(t);
    EXPECT_EQ(w.AddFolder(), w.Paths({"1.doc", "C/3.doc", "B/2.doc", "C/E/5.doc", "B/D/4.doc"}));
}

TEST(FolderScanOrder, ARootFolderGivesADoubledSeparatorWithEitherSeparator) {
    InMemoryTree windows("C:\\", '\\');
    windows.File("a.doc");
    windows.File("S/b.doc");
    EXPECT_EQ(Window(windows).AddFolder(), (std::vector<Text>{"C:\\\\a.doc", "C:\\\\S\\b.doc"}));

    InMemoryTree posix("/", '/');
    posix.File("a.doc");
    posix.File("S/b.doc");
    EXPECT_EQ(Window(posix).AddFolder(), (std::vector<Text>{"//a.doc", "//S/b.doc"}));
}

TEST(ListFiles, NamesFromOneUpOrOneEmptyNameAtZero) {
    InMemoryTree t;
    t.Folder("empty");
    t.File("x.doc/inside.doc");
    t.File("full/.h.doc");
    for (int i = 0; i < 150; ++i) t.File("full/n" + std::to_string(i) + ".DOC");
    auto& lister = t.Lister();

    const auto none = AddFolder::ListFiles(lister, '\\', t.Path("empty"), "*.doc");
    EXPECT_EQ(none.UpperBound(), 0u);
    EXPECT_EQ(none[0], "");
    // A folder named x.doc is not a file of the root.
    EXPECT_EQ(AddFolder::ListFiles(lister, '\\', t.Root(), "*.doc").UpperBound(), 0u);

    const auto full = AddFolder::ListFiles(lister, '\\', t.Path("full") + "\\", "*.doc");
    ASSERT_EQ(full.UpperBound(), 151u);
    EXPECT_EQ(full[1], ".h.doc");
    EXPECT_EQ(full[151], "n149.DOC");
}

TEST(ExpandSubfolders, WithoutRecurseOnlyTheDirectSubfolders) {
    InMemoryTree t;
    t.Folder("A/deeper");
    t.Folder("B");
    AddFolder::EnteredFolders entered;
    std::vector<Text> folders{t.Root() + "\\"};
    AddFolder::ExpandSubfolders(t.Lister(), '\\', folders, false, entered);
    EXPECT_EQ(folders, (std::vector<Text>{t.Root() + "\\", t.Path("A\\"), t.Path("B\\")}));
}

}  // namespace
}  // namespace pendrel
