#include "app/Form1.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/FakeForm.h"

namespace pendrel {
namespace {

using fakes::FakeForm;

TEST(FormLoad, CentresTitlesMakesTheColumnsAndLoadsThePointerOnlyWhenBesideTheProgram) {
    FakeForm without, with;
    with.fileSystem.files["/opt/pendrel/HAND-M.CUR"] = 326;
    with.window.width = 9000;
    with.window.height = 6000;
    without.form->Form_Load();
    with.form->Form_Load();
    EXPECT_EQ(with.window.left, 3180.0f);
    EXPECT_EQ(with.window.top, 2760.0f);
    EXPECT_EQ(with.window.caption, "Pendrel");
    EXPECT_EQ(with.list.headers, (std::vector<std::pair<Text, float>>{{"Word Filename", 5500.0f},
                                                                      {"Status", 1000.0f}}));
    EXPECT_EQ(without.window.mouseIcon, "");
    EXPECT_EQ(with.window.mouseIcon, "/opt/pendrel/HAND-M.CUR");
    EXPECT_EQ(with.window.pointer, 0) << "loading the image must not change the pointer";

    with.form->Form_Unload();
    EXPECT_EQ(with.program.ended, 1);
}

TEST(FormPointer, HandOverControlsArrowOverBackground) {
    FakeForm f;
    f.form->Check1_MouseMove();
    EXPECT_EQ(f.window.pointer, 99);
    f.form->ListView1_MouseMove();  // straight from a button onto the list
    EXPECT_EQ(f.window.pointer, 99);
    for (auto move : {&Form1::Check2_MouseMove, &Form1::Check4_MouseMove}) {
        f.form->Form_MouseMove();
        EXPECT_EQ(f.window.pointer, 1);
        (f.form.get()->*move)();
        EXPECT_EQ(f.window.pointer, 99);
    }
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
    EXPECT_EQ(std::count(f.dialog.calls.begin(), f.dialog.calls.end(), "ShowOpen"), 1);
    EXPECT_EQ(f.list.ItemCount(), 0u);
}

// The real list's own bookkeeping (statuses moving up with their items) is checked on the
// Qt window.
TEST(Removal, DoubleClickRemovesOnlyTheSelectedItem) {
    FakeForm f;
    f.form->ListView1_DblClick();  // an empty list
    for (const char* p : {"/1.doc", "/2.doc", "/3.doc", "/4.doc"}) f.list.AddItem(p);
    f.form->ListView1_DblClick();  // items, but none selected
    EXPECT_EQ(f.list.ItemCount(), 4u);
    f.list.selected = 2;
    f.form->ListView1_DblClick();
    EXPECT_EQ(f.list.Texts(), (std::vector<Text>{"/1.doc", "/3.doc", "/4.doc"}));
}

}  // namespace
}  // namespace pendrel
