#include "queue/AddFiles.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using namespace std::string_literals;

// Clicks Add Files once with the dialog yielding result; returns the queue's texts.
std::vector<Text> Pick(fakes::FakeForm& f, const Text& result) {
    f.dialog.nextResults = {result};
    f.check1.UserClick();
    return f.list.Texts();
}

fakes::FakeForm& WithSeparator(fakes::FakeForm& f, char separator) {
    f.fileSystem.separator = separator;
    return f;
}

TEST(AddFiles, OneFileIsQueuedAsItStands) {
    fakes::FakeForm f;
    EXPECT_EQ(Pick(WithSeparator(f, '\\'), "C:\\Docs\\Report.doc"),
              (std::vector<Text>{"C:\\Docs\\Report.doc"}));
    EXPECT_EQ(f.list.SubItem(1, 1), "Queued");
}

TEST(AddFiles, SeveralFilesAreJoinedToTheFolderInTheDialogsOrder) {
    fakes::FakeForm f;
    EXPECT_EQ(Pick(WithSeparator(f, '\\'), "C:\\Docs\0a.doc\0B.DOC\0c.txt"s),
              (std::vector<Text>{"C:\\Docs\\a.doc", "C:\\Docs\\B.DOC"}));
    EXPECT_EQ(f.list.SubItem(2, 1), "Queued");
}

TEST(AddFiles, ARootFolderGivesADoubledSeparator) {
    fakes::FakeForm windows;
    EXPECT_EQ(Pick(WithSeparator(windows, '\\'), "C:\\\0a.doc\0b.doc"s),
              (std::vector<Text>{"C:\\\\a.doc", "C:\\\\b.doc"}));
    fakes::FakeForm posix;
    EXPECT_EQ(Pick(WithSeparator(posix, '/'), "/\0a.doc"s), (std::vector<Text>{"//a.doc"}));
}

TEST(AddFiles, OnlyTheLastThreeCharactersDecide) {
    for (const char* rejected : {"/d/Report.docx", "/d/a.txt", ""}) {
        fakes::FakeForm f;
        EXPECT_TRUE(Pick(f, rejected).empty()) << rejected;
    }
    fakes::FakeForm f;
    EXPECT_EQ(Pick(f, "/d\0notes.adoc\0mydoc\0\0x.docx"s),
              (std::vector<Text>{"/d/notes.adoc", "/d/mydoc"}));
}

TEST(AddFiles, PickingTheSameFileTwiceQueuesItTwice) {
    fakes::FakeForm f;
    Pick(f, "/d/a.doc");
    EXPECT_EQ(Pick(f, "/d/a.doc"), (std::vector<Text>{"/d/a.doc", "/d/a.doc"}));
}

TEST(AddFiles, ALongPickIsNeverCutShort) {
    Text result = "/a/folder/with/a/long/name";
    for (int i = 0; i < 300; ++i) result += "\0document number "s + std::to_string(i) + ".doc";
    fakes::FakeForm f;
    const auto items = Pick(f, result);
    ASSERT_EQ(items.size(), 300u);
    EXPECT_EQ(items.back(), "/a/folder/with/a/long/name/document number 299.doc");
}

TEST(AddFiles, OneClickSetsUpTheDialogThenShowsItOnce) {
    fakes::FakeForm f;
    Pick(f, "");
    EXPECT_EQ(f.dialog.calls,
              (std::vector<std::string>{"Flags", "DialogTitle", "Filter", "ShowOpen"}));
    EXPECT_EQ(f.dialog.flags, 0x280201);
    EXPECT_EQ(f.dialog.title, "Add File(s) - Use Ctrl & Shift to select multiple files");
    EXPECT_EQ(f.dialog.filter, "Word Documents (*.doc)|*.doc|");
    EXPECT_EQ(f.check1.value, 0);
    EXPECT_EQ(f.list.ItemCount(), 0u);

    f.form->Check1_Click();  // a Click while the button is up does nothing
    EXPECT_EQ(f.dialog.calls.size(), 4u);
}

}  // namespace
}  // namespace pendrel
