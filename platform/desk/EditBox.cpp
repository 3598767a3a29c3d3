#include "platform/desk/EditBox.h"

#include <algorithm>

#include "platform/text/Utf16.h"

namespace pendrel::desk {
namespace {

constexpr char16_t Backspace = 0x08;

}  // namespace

EditBox::EditBox(std::u16string text) : text_(std::move(text)), anchor_(0), caret_(text_.size()) {}

void EditBox::DeleteSelection() {
    const auto [from, to] = std::minmax(anchor_, caret_);
    text_.erase(from, to - from);
    anchor_ = caret_ = from;
}

void EditBox::Type(char16_t unit) {
    if (unit == Backspace) {
        if (anchor_ == caret_ && caret_ > 0) {
            // A surrogate pair is one character: it goes as a whole.
            const bool pair = caret_ >= 2 && Utf16::IsLowSurrogate(text_[caret_ - 1]) &&
                              Utf16::IsHighSurrogate(text_[caret_ - 2]);
            anchor_ = caret_ - (pair ? 2 : 1);
        }
        DeleteSelection();
        return;
    }
    // A file name here may hold any character but NUL, newlines and tabs included, so only
    // backspace edits; everything else is text.
    if (unit == 0) return;
    DeleteSelection();
    text_.insert(caret_, 1, unit);
    anchor_ = ++caret_;
}

Text EditBox::Utf8() const {
    return Utf16::ToUtf8(text_);
}

}  // namespace pendrel::desk
