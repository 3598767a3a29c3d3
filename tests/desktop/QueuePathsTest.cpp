// Paths handed to the program from outside the window: the command line and drops both come
// through Form1::QueuePaths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "app/Form1.h"
#include "platform/posix/PosixDirectoryLister.h"
#include "platform/posix/PosixFileSystem.h"
#include "queue/AddPaths.h"
#include "tests/fakes/FakeForm.h"
#include "tests/queue/FolderTrees.h"

namespace pendrel {
namespace {

// A temporary folder on disk and a Form1 on the real file system, with fake controls.
struct OnDisk {
    std::filesystem::path root;
    fakes::FakeForm controls;  // its services are replaced below, its controls kept
    posix::PosixFileSystem fileSystem;
    posix::PosixDirectoryLister lister;
    std::unique_ptr<Form1> form;

    OnDisk() {
        Text pattern = (std::filesystem::temp_directory_path() / "pendrel-paths-XXXXXX").string();
        root = ::mkdtemp(pattern.data());
        auto& c = controls;
        form = std::make_unique<Form1>(
            Form1Controls{c.window, c.list, c.check1, c.check2, c.check4, c.dialog},
            Form1Services{c.screen, fileSystem, lister, c.messages, c.folderBrowser, c.program,
                          c.pump, c.noAutomation, c.noWindows});
    }
    ~OnDisk() {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    Text Make(const Text& rel) {
        const auto path = root / rel;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    }
    Text Path(const Text& rel) const { return (root / rel).string(); }
    std::vector<Text> Queued() const { return controls.list.Texts(); }
    const std::vector<fakes::FakeMessageBoxes::Shown>& Messages() const {
        return controls.messages.shown;
    }
};

TEST(CommandLinePaths, FilesAndFoldersAreQueuedInOrderAndMissingOnesNamedInOneMessage) {
    OnDisk d;
    d.Make("a.doc");
    d.Make("b.docx");
    d.Make("notes.txt");
    d.Make("dir/x.doc");
    d.Make("dir/~$x.doc");
    d.Make("dir/sub/y.DOC");
    const Text gone = d.Path("gone/old.doc");

    // As a shell passes them from inside the temporary folder: relative, a folder with a
    // trailing slash, an absolute path that is not there.
    d.form->QueuePaths({"a.doc", "b.docx", "missing.doc", "dir/", "notes.txt", gone, "./a.doc"},
                       d.root.string());

    EXPECT_EQ(d.Queued(), (std::vector<Text>{d.Path("a.doc"), d.Path("dir/x.doc"),
                                             d.Path("dir/sub/y.DOC"), d.Path("a.doc")}));
    for (std::size_t i = 1; i <= d.controls.list.ItemCount(); ++i)
        EXPECT_EQ(d.controls.list.SubItem(i, 1), "Queued");
    ASSERT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.Messages()[0].title, "Quarrendon");
    EXPECT_EQ(d.Messages()[0].text,
              "These were not found and were not added:\n\n" + d.Path("missing.doc") + "\n" + gone);
}

TEST(CommandLinePaths, NoMessageWhenEverythingExistsAndNothingWithoutPaths) {
    OnDisk d;
    d.Make("only.txt");
    d.form->QueuePaths({}, d.root.string());
    d.form->QueuePaths({d.Path("only.txt"), d.root.string()}, "/");
    EXPECT_TRUE(d.Queued().empty());
    EXPECT_TRUE(d.Messages().empty());
}

TEST(CommandLinePaths, WhatIsNeitherFileNorFolderIsSkippedAndAnEmptyPathIsNotTheCurrentFolder) {
    OnDisk d;
    d.Make("in-here.doc");
    ASSERT_EQ(::mkfifo(d.Path("pipe.doc").c_str(), 0600), 0);
    d.form->QueuePaths({"pipe.doc", ""}, d.root.string());
    EXPECT_TRUE(d.Queued().empty()) << "a pipe would hang the conversion";
    ASSERT_EQ(d.Messages().size(), 1u);
    EXPECT_EQ(d.Messages()[0].text, "This was not found and was not added:\n\n\"\"");
}

TEST(CommandLinePaths, AFolderGoesThroughTheFolderScanWithTheWindowsSeparator) {
    testing::InMemoryTree tree("C:\\Tree", '\\');
    tree.File("1.doc");
    tree.File("B/2.doc");
    tree.File("C/3.doc");
    tree.File("B/D/4.doc");
    fakes::FakeFileSystem files;
    files.separator = '\\';
    files.files["C:\\Loose\\5.doc"] = 1;
    fakes::FakeListView list;
    const auto missing = AddPaths::QueueEach({"C:\\Loose\\5.doc", "C:\\Tree", "C:\\Nowhere"}, files,
                                             tree.Lister(), list);
    EXPECT_EQ(list.Texts(),
              (std::vector<Text>{"C:\\Loose\\5.doc", "C:\\Tree\\1.doc", "C:\\Tree\\B\\2.doc",
                                 "C:\\Tree\\C\\3.doc", "C:\\Tree\\B\\D\\4.doc"}));
    EXPECT_EQ(missing, std::vector<Text>{"C:\\Nowhere"});
}

TEST(AbsolutePaths, RelativeOnesAreTakenFromTheCurrentFolder) {
    EXPECT_EQ(AddPaths::Absolute("a.doc", "/home/u"), "/home/u/a.doc");
    EXPECT_EQ(AddPaths::Absolute("./docs/../a.doc", "/home/u/work"), "/home/u/work/a.doc");
    EXPECT_EQ(AddPaths::Absolute("../a.doc", "/home/u/work"), "/home/u/a.doc");
    EXPECT_EQ(AddPaths::Absolute("docs/", "/home/u"), "/home/u/docs");
    EXPECT_EQ(AddPaths::Absolute(".", "/home/u"), "/home/u");
    EXPECT_EQ(AddPaths::Absolute("/srv/x y/Ä.doc", "/home/u"), "/srv/x y/Ä.doc");
    EXPECT_EQ(AddPaths::Absolute("/srv/docs//", "/home/u"), "/srv/docs");
    EXPECT_EQ(AddPaths::Absolute("/", "/home/u"), "/");
    EXPECT_EQ(AddPaths::Absolute("", "/home/u"), "");
}

TEST(MissingMessage, NamesTheFirstTenAndCountsTheRest) {
    std::vector<Text> missing;
    for (int i = 1; i <= 13; ++i) missing.push_back("/m/" + std::to_string(i) + ".doc");
    const Text text = AddPaths::MissingMessage(missing);
    EXPECT_NE(text.find("\n/m/10.doc\n... and 3 more"), Text::npos) << text;
    EXPECT_EQ(text.find("/m/11.doc"), Text::npos);
}

}  // namespace
}  // namespace pendrel
