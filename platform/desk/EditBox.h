#pragma once
// The text of a single-line edit box as WM_CHAR builds it: UTF-16 units, a caret and a
// selection that typed text replaces.
#include <string>

#include "platform/Text.h"

namespace pendrel::desk {

class EditBox {
public:
    // The initial text is wholly selected, as a file-name box shows its suggestion.
    explicit EditBox(std::u16string text);

    // One WM_CHAR: a UTF-16 unit inserted at the caret in place of the selection; backspace
    // (0x08) deletes the selection or the character before the caret. Other control
    // characters do nothing.
    void Type(char16_t unit);

    const std::u16string& Units() const { return text_; }
    // The text as UTF-8; a surrogate without its partner becomes U+FFFD.
    Text Utf8() const;

private:
    void DeleteSelection();

    std::u16string text_;
    std::size_t anchor_;  // the selection runs from anchor_ to caret_
    std::size_t caret_;
};

}  // namespace pendrel::desk
