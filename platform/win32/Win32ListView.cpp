#include "platform/win32/Win32ListView.h"

// windows.h before the other system headers, which need its types.
#include "platform/win32/Win32Api.h"

#include <commctrl.h>

#include <cmath>
#include <stdexcept>
#include <string>

#include "platform/Form1Layout.h"
#include "platform/win32/WideText.h"

namespace pendrel::win32 {
namespace {

// Arial 9 point bold, western character set, for a screen of dpi.
HFONT ListFont(int dpi) {
    const int height = -MulDiv(Form1Layout::ListFontPoints, dpi, 72);
    return CreateFontW(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, Wide(Form1Layout::ListFontName).c_str());
}

}  // namespace

Win32ListView::Win32ListView(HWND parent, int id, const RECT& place, int dpi) : dpi_(dpi) {
    // Single selection: removal acts on the one selected item. No sorting and no editing in
    // place: the items keep the order and the paths they were added with.
    handle_ = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
        place.left, place.top, place.right - place.left, place.bottom - place.top, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(handle_, LVS_EX_FULLROWSELECT);
    font_ = ListFont(dpi_);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
}

void Win32ListView::SetDpi(int dpi) {
    const int before = dpi_;
    dpi_ = dpi;
    const HFONT old = font_;
    font_ = ListFont(dpi_);
    SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), TRUE);
    if (old) DeleteObject(old);
    for (std::size_t i = 0; i < columnTwips_.size(); ++i) {
        const int column = static_cast<int>(i);
        const int now = ListView_GetColumnWidth(handle_, column);
        const auto twips = columnTwips_[i];
        // A column the user has not dragged keeps its width in twips; a dragged one is
        // scaled as it is.
        const int scaled = twips && now == TwipsToPixels(*twips, before)
                               ? TwipsToPixels(*twips, dpi_)
                               : MulDiv(now, dpi_, before);
        ListView_SetColumnWidth(handle_, column, scaled);
    }
}

// The control goes with its parent window; only the font is the list's own.
Win32ListView::~Win32ListView() {
    if (font_) DeleteObject(font_);
}

void Win32ListView::AddColumnHeader(const Text& text) {
    std::wstring wide = Wide(text);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
    column.fmt = LVCFMT_LEFT;
    column.cx = MulDiv(100, dpi_, LayoutDpi);  // until the logic sets the width
    column.pszText = wide.data();
    const int at = static_cast<int>(ColumnHeaderCount());
    if (SendMessageW(handle_, LVM_INSERTCOLUMNW, at, reinterpret_cast<LPARAM>(&column)) < 0)
        throw std::runtime_error("The list could not add the column " + text + ".");
    columnTwips_.insert(columnTwips_.begin() + at, std::nullopt);
}

void Win32ListView::SetColumnHeaderWidth(std::size_t index, float twips) {
    if (index < 1 || index > ColumnHeaderCount()) throw std::out_of_range("no such column");
    ListView_SetColumnWidth(handle_, static_cast<int>(index - 1), TwipsToPixels(twips, dpi_));
    if (columnTwips_.size() < ColumnHeaderCount()) columnTwips_.resize(ColumnHeaderCount());
    columnTwips_[index - 1] = twips;
}

std::size_t Win32ListView::ColumnHeaderCount() const {
    const HWND header = ListView_GetHeader(handle_);
    const int count = header ? Header_GetItemCount(header) : 0;
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t Win32ListView::AddItem(const Text& text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = static_cast<int>(ItemCount());
    item.pszText = wide.data();
    item.lParam = static_cast<LPARAM>(nextId_);
    const auto row = SendMessageW(handle_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (row < 0) throw std::runtime_error("The list could not add " + text + ".");
    ++nextId_;
    return static_cast<std::size_t>(row) + 1;
}

std::size_t Win32ListView::ItemCount() const {
    return static_cast<std::size_t>(ListView_GetItemCount(handle_));
}

int Win32ListView::RowAt(std::size_t index) const {
    if (index < 1 || index > ItemCount()) throw std::out_of_range("Index out of bounds");
    return static_cast<int>(index - 1);
}

Text Win32ListView::CellText(int row, int column) const {
    // The control does not say how long a text is: grow the buffer until it holds it all.
    for (std::size_t size = 512;; size *= 2) {
        std::wstring buffer(size, L'\0');
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(size);
        const auto length = static_cast<std::size_t>(
            SendMessageW(handle_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < size) return Narrow(buffer.substr(0, length));
    }
}

Text Win32ListView::ItemText(std::size_t index) const {
    return CellText(RowAt(index), 0);
}

Text Win32ListView::SubItem(std::size_t index, int column) const {
    return CellText(RowAt(index), column);
}

void Win32ListView::SetSubItem(std::size_t index, int column, const Text& text) {
    std::wstring wide = Wide(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(handle_, LVM_SETITEMTEXTW, RowAt(index), reinterpret_cast<LPARAM>(&item));
}

void Win32ListView::RemoveItem(std::size_t index) {
    ListView_DeleteItem(handle_, RowAt(index));
}

std::optional<std::size_t> Win32ListView::SelectedIndex() const {
    const int row = ListView_GetNextItem(handle_, -1, LVNI_SELECTED);
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row) + 1;
}

ListView::ItemId Win32ListView::IdAt(std::size_t index) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = RowAt(index);
    SendMessageW(handle_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    return static_cast<ItemId>(item.lParam);
}

std::optional<std::size_t> Win32ListView::IndexOf(ItemId id) const {
    LVFINDINFOW find{};
    find.flags = LVFI_PARAM;
    find.lParam = static_cast<LPARAM>(id);
    const auto row = SendMessageW(handle_, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                  reinterpret_cast<LPARAM>(&find));
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row) + 1;
}

void Win32ListView::EnsureVisible(std::size_t index) {
    ListView_EnsureVisible(handle_, RowAt(index), FALSE);
}

std::optional<std::size_t> Win32ListView::PopupMenu(const std::vector<Text>& entries) {
    const std::optional<POINT> askedAt = menuAt_;
    menuAt_.reset();
    if (nextMenuChoice_) {
        const auto choice = *nextMenuChoice_;
        nextMenuChoice_.reset();
        return choice;
    }
    const HMENU menu = CreatePopupMenu();
    if (!menu) return std::nullopt;
    for (std::size_t i = 0; i < entries.size(); ++i)
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(i + 1), Wide(entries[i]).c_str());
    POINT at{};
    if (askedAt)
        at = *askedAt;
    else
        GetCursorPos(&at);
    // The command comes back as the result; 0 when the menu was dismissed.
    const UINT chosen =
        static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x,
                                         at.y, 0, GetParent(handle_), nullptr));
    DestroyMenu(menu);
    if (chosen == 0) return std::nullopt;
    return static_cast<std::size_t>(chosen - 1);
}

}  // namespace pendrel::win32
