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
    for (const char* path : {"/t/a.doc", "/t/b.docx", "/t/notes.txt", "/t/caf\xE9.doc",
                             "/t/dir/x.doc", "/t/dir/~$x.doc", "/t/dir/sub/y.DOC"})
        f.files.Add(path);
    f.files.Add("/t/dir/bad\xFF.doc", "its name is not valid text");
    // Named on purpose, whatever their names: they would hang the conversion.
    f.files.others["/t/pipe.doc"] = PathKind::Pipe;
    f.files.others["/dev/lp0"] = PathKind::Device;

    f.form->QueuePaths({}, "/t");
    f.form->QueuePaths({"notes.txt", "b.docx"}, "/t");
    EXPECT_TRUE(f.list.items.empty());
    EXPECT_TRUE(f.messages.shown.empty()) << "nothing missing, nothing to say";

    // As a shell passes them from inside /t/dir, relative ones taken from there; an empty path
    // is not the current folder.
    f.form->QueuePaths({"../a.doc", "missing.doc", "./", "", "/gone/old.doc", "../caf\xE9.doc",
                        "sub/../../a.doc", "../pipe.doc", "/dev/lp0"},
                       "/t/dir");
    EXPECT_EQ(f.list.Texts(), (Texts{"/t/a.doc", "/t/dir/x.doc", "/t/dir/sub/y.DOC", "/t/a.doc"}));
    EXPECT_EQ(f.list.Statuses(), Texts(4, "Queued"));
    EXPECT_EQ(f.messages.Texts(),
              Texts{"These were not found and were not added:\n\n/t/dir/missing.doc\n\"\"\n"
                    "/gone/old.doc\n\nThese could not be added:\n\n"
                    "/t/dir/bad\\xFF.doc (its name is not valid text)\n"
                    "/t/caf\\xE9.doc (its name is not valid text)\n"
                    "/t/pipe.doc (it is a named pipe, not a file)\n"
                    "/dev/lp0 (it is a device, not a file)"});

    // What a run that was cut off left beside the documents is tidied as they are queued.
    f.files.files["/t/dir/sub/.y.pdf.pendrel-old"] = 2;
    f.form->QueuePaths({"sub/y.DOC"}, "/t/dir");
    EXPECT_EQ(f.files.FileSize("/t/dir/sub/y.pdf"), 2u);

    // A long list names the first ten and counts the rest.
    f.messages.shown.clear();
    Texts missing;
    for (int i = 1; i <= 12; ++i) missing.push_back("/m/" + std::to_string(i) + ".doc");
    f.form->QueuePaths(missing, "/t");
    EXPECT_TRUE(f.messages.Texts().at(0).ends_with("\n/m/9.doc\n/m/10.doc\n... and 2 more"));
}

}  // namespace
}  // namespace pendrel
