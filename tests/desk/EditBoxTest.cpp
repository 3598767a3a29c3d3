#include "platform/desk/EditBox.h"

#include <gtest/gtest.h>

namespace pendrel::desk {
namespace {

void TypeAll(EditBox& box, const std::u16string& units) {
    for (const char16_t u : units) box.Type(u);
}

TEST(EditBox, TypingReplacesTheSelectedSuggestionThenInsertsAtTheCaret) {
    EditBox box(u"Document1.pdf");
    TypeAll(box, u"ab");
    EXPECT_EQ(box.Units(), u"ab");
    box.Type(0x08);
    TypeAll(box, u"cd");
    EXPECT_EQ(box.Utf8(), "acd");
}

TEST(EditBox, BackspaceDeletesTheSelectionOrOneWholeCharacter) {
    EditBox selected(u"Document1.pdf");
    selected.Type(0x08);
    EXPECT_EQ(selected.Units(), u"");
    selected.Type(0x08);  // nothing left: nothing happens
    EXPECT_EQ(selected.Units(), u"");

    EditBox box(u"");
    TypeAll(box, u"x\U0001D11E");
    box.Type(0x08);
    EXPECT_EQ(box.Units(), u"x") << "a surrogate pair goes as one character";
}

TEST(EditBox, OtherControlCharactersAreNotTyped) {
    EditBox box(u"");
    TypeAll(box,
            u"a\r\n\t\x1B\x7F"
            "b");
    EXPECT_EQ(box.Units(), u"ab");
}

}  // namespace
}  // namespace pendrel::desk
