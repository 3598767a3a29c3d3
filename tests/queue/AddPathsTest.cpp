// Paths handed to the program from outside the window: the command line and drops both come
// through Form1::QueuePaths.
#include "queue/AddPaths.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using Texts = std::vector<Text>;

TEST(QueuePaths, QueuedInOrderAsTheButtonsWouldAndTheRestNamedInOneMessage) {
    fakes::FakeForm f;
    for (const char* path : {"/t/a.doc", "/t/b.docx", "/t/notes.txt", "/t/caf\xE9.doc"})
        f.fileSystem.files[path] = 1;
    f.fileSystem.others.insert("/t/pipe.doc");  // would hang the conversion
    for (const char* rel : {"dir/x.doc", "dir/~$x.doc", "dir/sub/y.DOC"}) f.folders.File(rel);
    f.folders.File("dir/bad\xFF.doc", "its name is not valid text");

    f.form->QueuePaths({}, "/t");
    f.form->QueuePaths({"notes.txt", "b.docx", "pipe.doc"}, "/t");
    EXPECT_TRUE(f.list.items.empty());
    EXPECT_TRUE(f.messages.shown.empty()) << "nothing missing, nothing to say";

    // As a shell passes them from inside /t; an empty path is not the current folder.
    f.form->QueuePaths(
        {"a.doc", "missing.doc", "dir/", "", "/gone/old.doc", "caf\xE9.doc", "./a.doc"}, "/t");
    EXPECT_EQ(f.list.Texts(), (Texts{"/t/a.doc", "/t/dir/x.doc", "/t/dir/sub/y.DOC", "/t/a.doc"}));
    EXPECT_EQ(f.list.Statuses(), Texts(4, "Queued"));
    EXPECT_EQ(f.messages.Texts(),
              Texts{"These were not found and were not added:\n\n/t/missing.doc\n\"\"\n"
                    "/gone/old.doc\n\nThese could not be added:\n\n"
                    "/t/dir/bad\\xFF.doc (its name is not valid text)\n"
                    "/t/caf\\xE9.doc (its name is not valid text)"});
}

TEST(QueuePaths, RelativePathsAreTakenFromTheCurrentFolder) {
    for (auto [path, current, absolute] : std::vector<std::tuple<Text, Text, Text>>{
             {"a.doc", "/home/u", "/home/u/a.doc"},
             {"./docs/../a.doc", "/home/u/work", "/home/u/work/a.doc"},
             {"../a.doc", "/home/u/work", "/home/u/a.doc"},
             {"docs/", "/home/u", "/home/u/docs"},
             {"/srv/docs//", "/home/u", "/srv/docs"},
             {"/", "/home/u", "/"},
             {"", "/home/u", ""}})
        EXPECT_EQ(AddPaths::Absolute(path, current), absolute) << path;
}

TEST(QueuePaths, TheMessageNamesTheFirstTenOfASectionAndCountsTheRest) {
    EXPECT_EQ(AddPaths::LeftoversMessage({{}, {{"/n/x.doc", "too long"}}}),
              "This could not be added:\n\n/n/x.doc (too long)");
    Texts missing;
    for (int i = 1; i <= 12; ++i) missing.push_back("/m/" + std::to_string(i) + ".doc");
    const Text text = AddPaths::LeftoversMessage({missing, {}});
    EXPECT_TRUE(text.starts_with("These were not found and were not added:\n\n/m/1.doc\n"));
    EXPECT_TRUE(text.ends_with("\n/m/10.doc\n... and 2 more")) << text;
}

}  // namespace
}  // namespace pendrel
