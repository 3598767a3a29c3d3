#include "app/Form1.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using fakes::FakeForm;

TEST(FormLoad, CentresSetsCaptionAndMakesTheTwoColumns) {
    FakeForm f;
    f.window.width = 9000;
    f.window.height = 6000;
    f.form->Form_Load();
    EXPECT_EQ(f.window.left, 3180.0f);
    EXPECT_EQ(f.window.top, 2760.0f);
    EXPECT_EQ(f.window.caption, "Pendrel");
    ASSERT_EQ(f.list.headers.size(), 2u);
    EXPECT_EQ(f.list.headers[0], (std::pair<Text, float>{"Word Filename", 5500.0f}));
    EXPECT_EQ(f.list.headers[1], (std::pair<Text, float>{"Status", 1000.0f}));
    EXPECT_EQ(f.list.ItemCount(), 0u);
}

TEST(FormLoad, LoadsTheHandPointerOnlyWhenItIsBesideTheProgram) {
    FakeForm without;
    without.form->Form_Load();
    EXPECT_EQ(without.window.mouseIcon, "");
    EXPECT_EQ(without.window.caption, "Pendrel");

    FakeForm with;
    with.fileSystem.files["/opt/pendrel/HAND-M.CUR"] = 326;
    with.form->Form_Load();
    EXPECT_EQ(with.window.mouseIcon, "/opt/pendrel/HAND-M.CUR");
    EXPECT_EQ(with.window.pointer, 0) << "loading the image must not change the pointer";
}

TEST(FormPointer, HandOverControlsArrowOverBackground) {
    FakeForm f;
    f.form->Check1_MouseMove();
    EXPECT_EQ(f.window.pointer, 99);
    f.form->ListView1_MouseMove();  // straight from a button onto the list
    EXPECT_EQ(f.window.pointer, 99);
    f.form->Form_MouseMove();
    EXPECT_EQ(f.window.pointer, 1);
    for (auto move : {&Form1::Check2_MouseMove, &Form1::Check4_MouseMove}) {
        f.form->Form_MouseMove();
        (f.form.get()->*move)();
        EXPECT_EQ(f.window.pointer, 99);
    }
}

TEST(FormUnload, EndsTheProgram) {
    FakeForm f;
    f.form->Form_Unload();
    EXPECT_EQ(f.program.ended, 1);
}

TEST(PushButtonRule, AClickComesBackUpAndAClickWhileUpDoesNothing) {
    FakeForm f;
    for (auto* button : {&f.check1, &f.check2, &f.check4}) {
        button->UserClick();
        EXPECT_EQ(button->value, 0);
    }
    // A Click raised while the button is up (as the nested one is) does no work.
    f.dialog.nextResults = {"/docs/a.doc"};
    f.form->Check1_Click();
    EXPECT_TRUE(f.dialog.calls.empty() ||
                std::count(f.dialog.calls.begin(), f.dialog.calls.end(), "ShowOpen") <= 1);
}

TEST(Removal, DoubleClickRemovesTheSelectedItemAndLaterOnesMoveUp) {
    FakeForm f;
    for (const char* p : {"/1.doc", "/2.doc", "/3.doc", "/4.doc", "/5.doc"}) {
        const auto i = f.list.AddItem(p);
        f.list.SetSubItem(i, 1, "Queued");
    }
    f.list.SetSubItem(5, 1, "Done");
    f.list.selected = 3;
    f.form->ListView1_DblClick();
    EXPECT_EQ(f.list.Texts(), (std::vector<Text>{"/1.doc", "/2.doc", "/4.doc", "/5.doc"}));
    EXPECT_EQ(f.list.SubItem(3, 1), "Queued");
    EXPECT_EQ(f.list.SubItem(4, 1), "Done");

    f.list.selected = 4;  // a "Done" item goes like any other
    f.form->ListView1_DblClick();
    EXPECT_EQ(f.list.ItemCount(), 3u);
}

TEST(Removal, DoubleClickWithNothingSelectedDoesNothing) {
    FakeForm f;
    f.form->ListView1_DblClick();  // empty list
    f.list.AddItem("/a.doc");
    f.form->ListView1_DblClick();  // an item, but none selected
    EXPECT_EQ(f.list.ItemCount(), 1u);
}

}  // namespace
}  // namespace pendrel
