#include "app/Form1.h"

#include <gtest/gtest.h>

#include "queue/Queue.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using fakes::FakeForm;
using Texts = std::vector<Text>;

// (Centring, the caption and closing: see the windows' own tests.)
TEST(Form1, LoadTakesThePointerImageOnlyWhenItIsBesideTheProgram) {
    FakeForm without, with;
    with.files.Add("/opt/pendrel/HAND-M.CUR");
    without.form->Form_Load();
    with.form->Form_Load();
    EXPECT_EQ(without.window.mouseIcon, "");
    EXPECT_EQ(with.window.mouseIcon, "/opt/pendrel/HAND-M.CUR");
}

// A picture button works only on the click that put it down, and comes back up; removal by
// double-click takes only the selected item.
TEST(Form1, ButtonsActOncePerClickAndDoubleClickRemovesOnlyTheSelectedItem) {
    FakeForm f;
    f.dialog.nextResult = "/d/2.doc";
    f.check1.UserClick();
    EXPECT_EQ(f.check1.value, 0);
    f.form->Check1_Click();  // raised while the button is up, as the nested Click is
    EXPECT_EQ(f.list.Texts(), Texts{"/d/2.doc"});

    Queue::Append(f.list, "/d/3.doc");
    f.form->ListView1_DblClick();  // nothing selected
    EXPECT_EQ(f.list.ItemCount(), 2u);
    f.list.selected = 1;
    f.form->ListView1_DblClick();
    EXPECT_EQ(f.list.Texts(), Texts{"/d/3.doc"});
}

// The menu of a queued document, asked for on the item at a position.
struct QueuedItemMenu : ::testing::Test {
    FakeForm f;
    QueuedItemMenu() {
        for (const char* p : {"/d/a.doc", "/d/b.doc", "/d/c.docx"}) Queue::Append(f.list, p);
        f.files.Add("/d/a.pdf");
        f.files.Add("/d/c.pdfx");  // no PDF of a document not ending in "doc"
        f.list.selected = 1;
    }
    void Choose(std::size_t item, std::optional<std::size_t> entry) {
        f.list.menuChoice = entry;
        f.form->ListView1_ItemMenu(item);
    }
};

TEST_F(QueuedItemMenu, OffersOpenPdfOnlyWhenThePdfIsThereAndDismissedDoesNothing) {
    for (std::size_t item : {1, 2, 3}) Choose(item, std::nullopt);
    EXPECT_EQ(f.list.menus, (std::vector<Texts>{{"Open PDF", "Show in Folder", "Remove"},
                                                {"Show in Folder", "Remove"},
                                                {"Show in Folder", "Remove"}}));
    Choose(4, 0);  // no such item: no menu
    EXPECT_EQ(f.list.menus.size(), 3u);
    EXPECT_TRUE(f.shell.opened.empty() && f.shell.shown.empty() && f.messages.shown.empty());
    EXPECT_EQ(f.list.ItemCount(), 3u);
}

TEST_F(QueuedItemMenu, EachEntryActsOnTheItemTheMenuWasForAndAFailingShellIsSaid) {
    Choose(1, 0);
    EXPECT_EQ(f.shell.opened, Texts{"/d/a.pdf"});
    Choose(1, 1);
    Choose(2, 0);
    EXPECT_EQ(f.shell.shown, (Texts{"/d/a.pdf", "/d/b.doc"})) << "the PDF, else the document";
    Choose(3, 1);
    EXPECT_EQ(f.list.Texts(), (Texts{"/d/a.doc", "/d/b.doc"})) << "not the selected item";
    EXPECT_TRUE(f.messages.shown.empty());

    f.shell.succeeds = false;
    Choose(1, 0);
    Choose(2, 0);
    EXPECT_EQ(f.messages.Texts(), (Texts{"No program could open /d/a.pdf.",
                                         "The folder of /d/b.doc could not be shown."}));
    // A run removes an earlier item while the menu is up: the menu's own item still goes.
    Queue::Append(f.list, "/d/d.doc");
    f.list.whileMenuIsOpen = [&] { f.list.RemoveItem(1); };
    Choose(2, 1);
    EXPECT_EQ(f.list.Texts(), Texts{"/d/d.doc"});
}

// Whichever button queues documents, what a run that was cut off left beside them is tidied:
// here, a PDF set aside is put back. (Paths from outside: see QueuePaths.)
TEST(Form1, QueueingDocumentsPutsBackThePdfsACutOffRunLeftAsideBesideThem) {
    FakeForm f;
    f.files.files = {{"/e/b.doc", 1},
                     {"/e/.b.pdf.pendrel-old", 12},
                     {"/f/c.doc", 1},
                     {"/f/.c.pdf.pendrel-old", 13},
                     {"/g/.d.pdf.pendrel-old", 14}};
    f.folderBrowser.nextResult = "/e";
    f.check4.UserClick();
    f.dialog.nextResult = "/f/c.doc";
    f.check1.UserClick();
    EXPECT_EQ(f.list.Texts(), (Texts{"/e/b.doc", "/f/c.doc"}));
    EXPECT_EQ(f.files.files, (std::map<Text, std::uint64_t>{{"/e/b.doc", 1},
                                                            {"/e/b.pdf", 12},
                                                            {"/f/c.doc", 1},
                                                            {"/f/c.pdf", 13},
                                                            {"/g/.d.pdf.pendrel-old", 14}}));
}

}  // namespace
}  // namespace pendrel
