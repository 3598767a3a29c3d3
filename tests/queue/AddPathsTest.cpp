// Paths handed to the program from outside the window: the command line and drops both come
// through Form1::QueuePaths.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "app/Form1.h"
#include "platform/posix/PosixFileSystem.h"
#include "queue/AddPaths.h"
#include "tests/fakes/FakeForm.h"
#include "tests/queue/FolderTrees.h"

namespace pendrel {
namespace {

TEST(CommandLinePaths, QueuedInOrderWhatIsNeitherFileNorFolderSkippedMissingNamedInOneMessage) {
    testing::OnDiskTree d;
    posix::PosixFileSystem fileSystem;
    fakes::FakeForm f{nullptr, nullptr, &d.Lister(), &fileSystem};
    for (const char* rel :
         {"a.doc", "b.docx", "notes.txt", "dir/x.doc", "dir/~$x.doc", "dir/sub/y.DOC"})
        d.File(rel);
    ASSERT_EQ(::mkfifo(d.Path("pipe.doc").c_str(), 0600), 0);
    const Text gone = d.Path("gone/old.doc");

    f.form->QueuePaths({}, d.Root());
    f.form->QueuePaths({d.Path("notes.txt")}, "/");
    EXPECT_TRUE(f.list.Texts().empty());
    EXPECT_TRUE(f.messages.shown.empty()) << "nothing missing, nothing to say";

    // As a shell passes them from inside the folder: relative, a folder with a trailing
    // slash, an absolute path that is not there; a pipe would hang the conversion; an empty
    // path is not the current folder.
    f.form->QueuePaths({"a.doc", "b.docx", "missing.doc", "dir/", "pipe.doc", "", gone, "./a.doc"},
                       d.Root());
    EXPECT_EQ(f.list.Texts(), (std::vector<Text>{d.Path("a.doc"), d.Path("dir/x.doc"),
                                                 d.Path("dir/sub/y.DOC"), d.Path("a.doc")}));
    for (std::size_t i = 1; i <= f.list.ItemCount(); ++i) EXPECT_EQ(f.list.SubItem(i, 1), "Queued");
    ASSERT_EQ(f.messages.shown.size(), 1u);
    EXPECT_EQ(f.messages.shown[0].title, "Quarrendon");
    EXPECT_EQ(f.messages.shown[0].text, "These were not found and were not added:\n\n" +
                                            d.Path("missing.doc") + "\n\"\"\n" + gone);
}

TEST(CommandLinePaths, AFolderGoesThroughTheFolderScanWithTheWindowsSeparator) {
    testing::InMemoryTree tree("C:\\Tree", '\\');
    for (const char* rel : {"1.doc", "B/2.doc", "C/3.doc", "B/D/4.doc"}) tree.File(rel);
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
    for (auto [path, current, absolute] : std::vector<std::tuple<Text, Text, Text>>{
             {"a.doc", "/home/u", "/home/u/a.doc"},
             {"./docs/../a.doc", "/home/u/work", "/home/u/work/a.doc"},
             {"../a.doc", "/home/u/work", "/home/u/a.doc"},
             {"docs/", "/home/u", "/home/u/docs"},
             {".", "/home/u", "/home/u"},
             {"/srv/x y/Ä.doc", "/home/u", "/srv/x y/Ä.doc"},
             {"/srv/docs//", "/home/u", "/srv/docs"},
             {"/", "/home/u", "/"},
             {"", "/home/u", ""}})
        EXPECT_EQ(AddPaths::Absolute(path, current), absolute) << path;
}

TEST(MissingMessage, OneOrManyNamedTheFirstTenAndTheRestCounted) {
    EXPECT_EQ(AddPaths::MissingMessage({"/m/a.doc"}),
              "This was not found and was not added:\n\n/m/a.doc");
    std::vector<Text> missing;
    for (int i = 1; i <= 13; ++i) missing.push_back("/m/" + std::to_string(i) + ".doc");
    const Text text = AddPaths::MissingMessage(missing);
    EXPECT_NE(text.find("\n/m/10.doc\n... and 3 more"), Text::npos) << text;
    EXPECT_EQ(text.find("/m/11.doc"), Text::npos);
}

}  // namespace
}  // namespace pendrel
