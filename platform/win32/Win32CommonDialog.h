#pragma once
// CommonDialog1: the Add Files dialog on GetOpenFileNameW.
#include <optional>
#include <string>

#include "platform/Controls.h"
#include "platform/Desktop.h"
#include "platform/win32/Win32Api.h"

namespace pendrel::win32 {

class Win32CommonDialog : public CommonDialog {
public:
    // The dialog's result holds this many characters, far beyond MAX_PATH: a pick of many
    // files in one folder fits.
    static constexpr std::size_t ResultCapacity = 65536;
    static constexpr const char* TooManyFilesMessage =
        "Too many files were picked at once. Please pick fewer files and try again.";

    // messages: where a pick that does not fit even ResultCapacity is reported.
    explicit Win32CommonDialog(MessageBoxes& messages) : messages_(messages) {}

    void SetOwner(HWND owner) { owner_ = owner; }
    void SetFlags(std::int32_t flags) override { flags_ = flags; }
    void SetDialogTitle(const Text& title) override { title_ = title; }
    void SetFilter(const Text& filter) override { filter_ = filter; }
    void ShowOpen() override;
    Text FileName() const override { return fileName_; }

    // For tests: the next ShowOpen yields this result at once (as the dialog's buffer would
    // hold it, NULs included) without showing anything.
    void setNextResult(const std::wstring& buffer) { nextResult_ = buffer; }

private:
    MessageBoxes& messages_;
    HWND owner_ = nullptr;
    std::int32_t flags_ = 0;
    Text title_;
    Text filter_;
    Text fileName_;
    std::optional<std::wstring> nextResult_;
};

// "Description|pattern|" -> the dialog's form: every "|" a NUL, and one more NUL at the end.
std::wstring DialogFilter(const Text& filter);

// The dialog's buffer (ended by two NULs) -> the result: one full path, or the folder and
// each picked name, every name preceded by one NUL.
Text ResultFromBuffer(const std::wstring& buffer);

}  // namespace pendrel::win32
