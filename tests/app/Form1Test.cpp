#include "app/Form1.h"

#include <gtest/gtest.h>

#include "queue/Queue.h"
#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using fakes::FakeForm;
using Texts = std::vector<Text>;

TEST(Form1, LoadCentresTitlesAndTakesThePointerImageOnlyWhenBesideTheProgram) {
    FakeForm without, with;
    with.fileSystem.files["/opt/pendrel/HAND-M.CUR"] = 326;
    without.form->Form_Load();
    with.form->Form_Load();
    EXPECT_EQ(with.window.left, 3885.0f);
    EXPECT_EQ(with.window.top, 3480.0f);
    EXPECT_EQ(with.window.caption, "Pendrel");
    EXPECT_EQ(with.list.headers, (Texts{"Word Filename", "Status"}));
    EXPECT_EQ(without.window.mouseIcon, "");
    EXPECT_EQ(with.window.mouseIcon, "/opt/pendrel/HAND-M.CUR");

    with.form->Form_Unload();
    EXPECT_EQ(with.program.ended, 1);
}

TEST(Form1, HandOverTheControlsArrowOverTheBackground) {
    FakeForm f;
    for (auto move : {&Form1::Check1_MouseMove, &Form1::Check2_MouseMove, &Form1::Check4_MouseMove,
                      &Form1::ListView1_MouseMove}) {
        f.form->Form_MouseMove();
        EXPECT_EQ(f.window.pointer, MousePointer::Arrow);
        (f.form.get()->*move)();
        EXPECT_EQ(f.window.pointer, MousePointer::Custom);
    }
}

TEST(Form1, APictureButtonWorksOnlyOnTheClickThatPutItDownAndComesBackUp) {
    FakeForm f;
    f.dialog.nextResult = "/docs/a.doc";
    f.check1.UserClick();
    EXPECT_EQ(f.check1.value, 0);
    f.form->Check1_Click();  // raised while the button is up, as the nested Click is
    EXPECT_EQ(f.dialog.shown, 1);
    EXPECT_EQ(f.list.Texts(), Texts{"/docs/a.doc"});
}

TEST(Form1, DoubleClickRemovesOnlyTheSelectedItem) {
    FakeForm f;
    f.form->ListView1_DblClick();  // an empty list
    for (const char* p : {"/1.doc", "/2.doc", "/3.doc"}) Queue::Append(f.list, p);
    f.form->ListView1_DblClick();  // nothing selected
    EXPECT_EQ(f.list.ItemCount(), 3u);
    f.list.selected = 2;
    f.form->ListView1_DblClick();
    EXPECT_EQ(f.list.Texts(), (Texts{"/1.doc", "/3.doc"}));
}

// The menu of a queued document, asked for on the item at a position.
struct QueuedItemMenu : ::testing::Test {
    FakeForm f;
    QueuedItemMenu() {
        for (const char* p : {"/d/a.doc", "/d/b.doc", "/d/c.docx"}) Queue::Append(f.list, p);
        f.fileSystem.files["/d/a.pdf"] = 1;
        f.fileSystem.files["/d/c.pdfx"] = 1;  // no PDF of a document not ending in "doc"
        f.list.selected = 1;
    }
    void Choose(std::size_t item, std::optional<std::size_t> entry) {
        f.list.menuChoice = entry;
        f.form->ListView1_ItemMenu(item);
    }
};

TEST_F(QueuedItemMenu, OffersOpenPdfOnlyWhenTheDocumentsPdfIsThere) {
    for (std::size_t item : {1, 2, 3}) Choose(item, std::nullopt);
    EXPECT_EQ(f.list.menus, (std::vector<Texts>{{"Open PDF", "Show in Folder", "Remove"},
                                                {"Show in Folder", "Remove"},
                                                {"Show in Folder", "Remove"}}));
    Choose(4, 0);  // no such item: no menu
    EXPECT_EQ(f.list.menus.size(), 3u);
    EXPECT_TRUE(f.shell.opened.empty() && f.shell.shown.empty() && f.messages.shown.empty());
    EXPECT_EQ(f.list.ItemCount(), 3u) << "a dismissed menu does nothing";
}

TEST_F(QueuedItemMenu, EachEntryActsOnTheItemTheMenuWasFor) {
    Choose(1, 0);
    EXPECT_EQ(f.shell.opened, Texts{"/d/a.pdf"});
    Choose(1, 1);
    Choose(2, 0);
    EXPECT_EQ(f.shell.shown, (Texts{"/d/a.pdf", "/d/b.doc"})) << "the PDF, else the document";
    Choose(3, 1);
    EXPECT_EQ(f.list.Texts(), (Texts{"/d/a.doc", "/d/b.doc"})) << "not the selected item";
    // A run removes an earlier item while the menu is up: the menu's own item still goes.
    Queue::Append(f.list, "/d/d.doc");
    f.list.whileMenuIsOpen = [&] { f.list.RemoveItem(1); };
    Choose(2, 1);
    EXPECT_EQ(f.list.Texts(), Texts{"/d/d.doc"});
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST_F(QueuedItemMenu, AShellThatFailsGivesOneMessage) {
    f.shell.succeeds = false;
    Choose(1, 0);
    Choose(2, 0);
    EXPECT_EQ(f.messages.Texts(), (Texts{"No program could open /d/a.pdf.",
                                         "The folder of /d/b.doc could not be shown."}));
}

}  // namespace
}  // namespace pendrel
