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

// Which names are taken: "~" first, hidden folders, case, a folder named like a document, many
// in one folder; link loops entered once; a folder that cannot be listed skipped.
TYPED_TEST(FolderScan, TakesDocumentsByNameAndSurvivesLoopsAndLockedFolders) {
    auto& t = this->tree;
    std::vector<Text> taken{"a.doc",      "report~.doc", "REPORT.DOC",     ".hidden.doc",
                            "~old/x.doc", "x.doc/z.doc", "e1/e2/deep.doc", "B/2.doc"};
    for (int i = 0; i < 151; ++i) taken.push_back("many/d" + std::to_string(i) + ".doc");
    for (const Text& rel : taken) t.File(rel);
    for (const char* rel : {"~$a.doc", "~report.doc", "notes.docx", "readme.txt", ".secret/y.doc",
                            "locked/2.doc", "locked/in/4.doc"})
        t.File(rel);
    t.Link("B/back", "");
    t.Link("B/self", "B");
    if (!t.MakeUnlistable("locked"))  // as root every folder reads
        taken.insert(taken.end(), {"locked/2.doc", "locked/in/4.doc"});
    Window w(t);
    EXPECT_EQ(Sorted(w.AddFolder()), Sorted(w.Paths(taken)));
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
    ASSERT_EQ(once.size(), 2u);
    EXPECT_EQ(w.AddFolder(), (std::vector<Text>{once[0], once[1], once[0], once[1]}));
}

// The in-memory lister lists in a known order, so the exact order can be checked; a root
// folder keeps its own separator and gains another, with either separator.
TEST(FolderScanOrder, FollowsTheListingOrderOfEachFolderAndDoublesARootsSeparator) {
    InMemoryTree t;
    for (const char* rel : {"1.doc", "C/3.doc", "B/2.doc", "C/E/5.doc", "B/D/4.doc"}) t.File(rel);
    EXPECT_EQ(Window(t).AddFolder(),
              Window(t).Paths({"1.doc", "C/3.doc", "B/2.doc", "C/E/5.doc", "B/D/4.doc"}));

    for (auto [root, separator, expected] : std::vector<std::tuple<Text, char, std::vector<Text>>>{
             {"C:\\", '\\', {"C:\\\\a.doc", "C:\\\\S\\b.doc"}},
             {"/", '/', {"//a.doc", "//S/b.doc"}}}) {
        InMemoryTree tree(root, separator);
        tree.File("a.doc");
        tree.File("S/b.doc");
        EXPECT_EQ(Window(tree).AddFolder(), expected) << root;
    }
}

}  // namespace
}  // namespace pendrel
