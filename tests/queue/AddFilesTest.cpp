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

// The dialog's result shapes: one path as it stands; a folder then NUL-separated names in the
// dialog's order, joined with the separator (a root folder's doubled); only the last three
// characters of each name decide; an empty name or result adds nothing.
TEST(AddFiles, EachDialogResultShapeQueuesItsDocumentsInOrder) {
    struct Case {
        char separator;
        Text result;
        std::vector<Text> queued;
    };
    for (const Case& c : std::vector<Case>{
             {'\\', "C:\\Docs\\Report.doc", {"C:\\Docs\\Report.doc"}},
             {'\\', "C:\\Docs\0a.doc\0B.DOC\0c.txt"s, {"C:\\Docs\\a.doc", "C:\\Docs\\B.DOC"}},
             {'\\', "C:\\\0a.doc\0b.doc"s, {"C:\\\\a.doc", "C:\\\\b.doc"}},
             {'/', "/\0a.doc"s, {"//a.doc"}},
             {'/', "/d\0notes.adoc\0mydoc\0\0x.docx"s, {"/d/notes.adoc", "/d/mydoc"}},
             {'/', "/d/Report.docx", {}},
             {'/', "/d/a.txt", {}},
             {'/', "", {}},
         }) {
        fakes::FakeForm f;
        f.fileSystem.separator = c.separator;
        EXPECT_EQ(Pick(f, c.result), c.queued) << c.result;
        for (std::size_t i = 1; i <= f.list.ItemCount(); ++i)
            EXPECT_EQ(f.list.SubItem(i, 1), "Queued");
    }

    Text longPick = "/a/folder/with/a/long/name";  // never cut short
    for (int i = 0; i < 300; ++i) longPick += "\0document number "s + std::to_string(i) + ".doc";
    fakes::FakeForm f;
    const auto items = Pick(f, longPick);
    ASSERT_EQ(items.size(), 300u);
    EXPECT_EQ(items.back(), "/a/folder/with/a/long/name/document number 299.doc");
}

TEST(AddFiles, OneClickSetsUpTheDialogShowsItOnceAndAddsAgainOnTheNext) {
    fakes::FakeForm f;
    Pick(f, "");
    EXPECT_EQ(f.dialog.calls,
              (std::vector<std::string>{"Flags", "DialogTitle", "Filter", "ShowOpen"}));
    EXPECT_EQ(f.dialog.flags, 0x280201);
    EXPECT_EQ(f.dialog.title, "Add File(s) - Use Ctrl & Shift to select multiple files");
    EXPECT_EQ(f.dialog.filter, "Word Documents (*.doc)|*.doc|");
    EXPECT_EQ(f.check1.value, 0);

    f.form->Check1_Click();  // a Click while the button is up does nothing
    EXPECT_EQ(f.dialog.calls.size(), 4u);

    Pick(f, "/d/a.doc");  // the same file twice is queued twice
    EXPECT_EQ(Pick(f, "/d/a.doc"), (std::vector<Text>{"/d/a.doc", "/d/a.doc"}));
}

}  // namespace
}  // namespace pendrel
