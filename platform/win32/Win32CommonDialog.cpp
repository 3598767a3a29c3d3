#include "platform/win32/Win32CommonDialog.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <commdlg.h>

#include "platform/AppInfo.h"
#include "platform/win32/WideText.h"

namespace pendrel::win32 {

std::wstring DialogFilter(const Text& filter) {
    std::wstring wide = Wide(filter);
    for (wchar_t& c : wide) {
        if (c == L'|') c = L'\0';
    }
    wide.push_back(L'\0');  // two NULs end the list, whether or not the text ended with "|"
    wide.push_back(L'\0');
    return wide;
}

Text ResultFromBuffer(const std::wstring& buffer) {
    Text result;
    std::size_t start = 0;
    bool first = true;
    while (start < buffer.size() && buffer[start] != L'\0') {
        std::size_t end = buffer.find(L'\0', start);
        if (end == std::wstring::npos) end = buffer.size();
        if (!first) result += '\0';
        result += Narrow(buffer.substr(start, end - start));
        first = false;
        start = end + 1;
    }
    return result;
}

void Win32CommonDialog::ShowOpen() {
    if (nextResult_) {
        fileName_ = ResultFromBuffer(*nextResult_);
        nextResult_.reset();
        return;
    }
    std::wstring buffer(ResultCapacity, L'\0');
    const std::wstring filter = DialogFilter(filter_);
    const std::wstring title = Wide(title_);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = static_cast<DWORD>(flags_);
    if (GetOpenFileNameW(&dialog)) {
        fileName_ = ResultFromBuffer(buffer);
        return;
    }
    // Cancelled: the empty result. A pick that overflowed is no silent loss: it is reported.
    fileName_.clear();
    if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
        messages_.Show(TooManyFilesMessage, ApplicationTitle);
}

}  // namespace pendrel::win32
